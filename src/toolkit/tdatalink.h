// How controls and data sources hear about a data set: state, row and field changes.
#pragma once

namespace tk {

class TField;

enum class TDataEvent {
    StateChange,    // the set's state changed (inactive, browse, edit, insert)
    DataSetChange,  // rows were replaced, inserted, deleted or restored
    Scroll,         // the current row moved
    FieldChange,    // a value of the current row changed (field given)
    UpdateRecord,   // write any pending edit into the fields now (before a post)
};

class TDataLink {
public:
    virtual ~TDataLink() = default;
    virtual void DataEvent(TDataEvent event, TField* field) = 0;
    // Select `field` and take the focus when possible; true when this link showed it.
    virtual bool FocusField(TField& /*field*/) { return false; }
};

}  // namespace tk
