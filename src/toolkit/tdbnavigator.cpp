#include "toolkit/tdbnavigator.h"

namespace tk {

bool TDBNavigator::UserClick(TNavigateBtn button) {
    if (!Reachable()) return false;
    TClientDataSet* set = DataSource ? DataSource->DataSet() : nullptr;
    if (!set || !set->Active()) return false;
    if (BeforeAction) BeforeAction(*this, button);
    switch (button) {
    case TNavigateBtn::nbFirst: set->First(); break;
    case TNavigateBtn::nbPrior: set->Prior(); break;
    case TNavigateBtn::nbNext: set->Next(); break;
    case TNavigateBtn::nbLast: set->Last(); break;
    }
    if (OnClick) OnClick(*this, button);
    return true;
}

TDBText::TDBText(TComponent* owner, std::string name, TControl* parent, TDataSource* source, std::string fieldName)
    : TControl(owner, std::move(name), parent), source_(source), fieldName_(std::move(fieldName)) {
    if (source_) source_->AddLink(this);
}

TDBText::~TDBText() {
    if (source_) source_->RemoveLink(this);
}

std::string TDBText::Text() const {
    TClientDataSet* set = source_ ? source_->DataSet() : nullptr;
    if (!set || !set->Active()) return "";
    TField* field = set->FindField(fieldName_);
    return field ? field->DisplayText() : "";
}

void TDBText::DataEvent(TDataEvent event, TField*) {
    if (event != TDataEvent::UpdateRecord) Changed();
}

}  // namespace tk
