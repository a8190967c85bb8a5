// Tells a function every event of a data set (but the requests to write pending edits);
// unlinks itself when destroyed.
#pragma once
#include <functional>

#include "toolkit/tclientdataset.h"
#include "toolkit/tdatalink.h"

namespace gui {

class DataSetWatch : public tk::TDataLink {
public:
    DataSetWatch(tk::TClientDataSet& set, std::function<void(tk::TDataEvent)> told)
        : set_(set), told_(std::move(told)) {
        set_.AddLink(this);
    }
    ~DataSetWatch() override { set_.RemoveLink(this); }
    DataSetWatch(const DataSetWatch&) = delete;
    DataSetWatch& operator=(const DataSetWatch&) = delete;
    void DataEvent(tk::TDataEvent event, tk::TField*) override {
        if (event != tk::TDataEvent::UpdateRecord) told_(event);
    }
    tk::TClientDataSet& set() const { return set_; }

private:
    tk::TClientDataSet& set_;
    std::function<void(tk::TDataEvent)> told_;
};

}  // namespace gui
