#include "toolkit/tdatasource.h"

#include <algorithm>

namespace tk {

TDataSource::TDataSource(TComponent* owner, std::string name, TClientDataSet* dataSet)
    : TComponent(owner, std::move(name)) {
    SetDataSet(dataSet);
}

TDataSource::~TDataSource() {
    if (dataSet_) {
        dataSet_->RemoveLink(this);
        dataSet_->removeSource(this);
    }
}

void TDataSource::SetDataSet(TClientDataSet* dataSet) {
    if (dataSet == dataSet_) return;
    TDataSetState before = State();
    if (dataSet_) {
        dataSet_->RemoveLink(this);
        dataSet_->removeSource(this);
    }
    dataSet_ = dataSet;
    if (dataSet_) {
        dataSet_->AddLink(this);
        dataSet_->addSource(this);
    }
    // The controls now show another set: tell them as if the set had changed under them.
    if (State() != before) DataEvent(TDataEvent::StateChange, nullptr);
    DataEvent(TDataEvent::DataSetChange, nullptr);
    Changed();
}

TDataSetState TDataSource::State() const { return dataSet_ ? dataSet_->State() : TDataSetState::dsInactive; }

bool TDataSource::Editing() const { return dataSet_ && dataSet_->Editing(); }

void TDataSource::AddLink(TDataLink* link) {
    if (std::find(links_.begin(), links_.end(), link) == links_.end()) links_.push_back(link);
}

void TDataSource::RemoveLink(TDataLink* link) { std::erase(links_, link); }

void TDataSource::DataEvent(TDataEvent event, TField* field) {
    auto links = links_;  // a control may detach while being told
    for (TDataLink* link : links) link->DataEvent(event, field);
    switch (event) {
        case TDataEvent::StateChange:
            if (OnStateChange) {
                auto handler = OnStateChange;
                handler(*this);
            }
            break;
        case TDataEvent::DataSetChange:
        case TDataEvent::Scroll:
        case TDataEvent::FieldChange:
            if (OnDataChange) {
                auto handler = OnDataChange;
                handler(*this, field);
            }
            break;
        case TDataEvent::UpdateRecord: break;
    }
}

bool TDataSource::FocusField(TField& field) {
    auto links = links_;
    for (TDataLink* link : links)
        if (link->FocusField(field)) return true;
    return false;
}

}  // namespace tk
