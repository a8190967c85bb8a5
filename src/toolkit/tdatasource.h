// Connects a data set to controls; reports the set's state changes.
#pragma once
#include <functional>
#include <vector>

#include "toolkit/tclientdataset.h"

namespace tk {

class TDataSource : public TComponent, private TDataLink {
public:
    TDataSource(TComponent* owner, std::string name, TClientDataSet* dataSet = nullptr);
    ~TDataSource() override;

    TClientDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TClientDataSet* dataSet);
    // The data set's state; inactive when there is none.
    TDataSetState State() const;
    bool Editing() const;

    // Runs on every state change of the set (opening, closing, edit, insert, browse).
    TNotifyEvent OnStateChange;
    std::function<void(TObject& sender, TField* field)> OnDataChange;

    void AddLink(TDataLink* link);
    void RemoveLink(TDataLink* link);
    const std::vector<TDataLink*>& Links() const { return links_; }

private:
    friend class TClientDataSet;
    void DataEvent(TDataEvent event, TField* field) override;
    bool FocusField(TField& field) override;
    TClientDataSet* dataSet_ = nullptr;
    std::vector<TDataLink*> links_;
};

}  // namespace tk
