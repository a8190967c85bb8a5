// Data navigator: BeforeAction, then first, prior, next, last on a data source, then OnClick.
#pragma once
#include <functional>

#include "toolkit/tcontrol.h"
#include "toolkit/tdatasource.h"

namespace tk {

enum class TNavigateBtn { nbFirst, nbPrior, nbNext, nbLast };

class TDBNavigator : public TControl {
public:
    using TControl::TControl;
    TDataSource* DataSource = nullptr;
    std::function<void(TObject& sender, TNavigateBtn button)> BeforeAction;
    std::function<void(TObject& sender, TNavigateBtn button)> OnClick;
    // Runs BeforeAction, moves the set (browse check first), then runs OnClick. False when
    // disabled.
    bool UserClick(TNavigateBtn button);
};

// A label showing one field of the current row.
class TDBText : public TControl, private TDataLink {
public:
    TDBText(TComponent* owner, std::string name, TControl* parent, TDataSource* source, std::string fieldName);
    ~TDBText() override;
    std::string Text() const;  // the field's display text, "" when there is none

private:
    void DataEvent(TDataEvent event, TField* field) override;
    TDataSource* source_;
    std::string fieldName_;
};

}  // namespace tk
