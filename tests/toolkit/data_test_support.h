// Helpers for the data-set tests: a small packet, a set with persistent fields, and an
// event recorder that renders what happened as one comma-separated string.
#pragma once
#include <string>
#include <vector>

#include "toolkit/tclientdataset.h"
#include "toolkit/tdatasource.h"
#include "wire/packet.h"

namespace tkdata {

inline wire::DateTime ymd(int y, int m, int d) { return wire::DateTime::fromYmd(y, m, d); }

// NR float, NAME string(10), DT datetime.
inline std::vector<wire::FieldDef> defs() {
    return {{"NR", wire::FieldType::Float, 0}, {"NAME", wire::FieldType::String, 10}, {"DT", wire::FieldType::DateTime, 0}};
}

inline wire::DataPacket packet(std::vector<wire::Row> rows) { return {defs(), std::move(rows)}; }

inline wire::DataPacket threeRows() {
    return packet({{1.0, std::string("Ana"), ymd(2025, 1, 1)},
                   {2.0, std::string("Bruno"), ymd(2025, 2, 1)},
                   {3.0, std::string("Carla"), ymd(2025, 3, 1)}});
}

// A data set with the three persistent fields of defs(), wired to a data source.
struct Fixture {
    tk::TComponent owner{nullptr, "frm"};
    tk::TClientDataSet cds{&owner, "cds"};
    tk::TField nr{cds, "NR", wire::FieldType::Float};
    tk::TField name{cds, "NAME", wire::FieldType::String, 10};
    tk::TField dt{cds, "DT", wire::FieldType::DateTime};
    tk::TDataSource dts{&owner, "dts", &cds};
};

// Records the data-set events and the data source's state changes ("state:insert").
class EventLog {
public:
    explicit EventLog(tk::TClientDataSet& ds, tk::TDataSource* source = nullptr) {
        auto rec = [this](const char* name) { return [this, name](tk::TClientDataSet&) { events_.push_back(name); }; };
        ds.BeforeInsert = rec("BeforeInsert");
        ds.OnNewRecord = rec("OnNewRecord");
        ds.AfterInsert = rec("AfterInsert");
        ds.BeforeEdit = rec("BeforeEdit");
        ds.AfterEdit = rec("AfterEdit");
        ds.BeforePost = rec("BeforePost");
        ds.AfterPost = rec("AfterPost");
        ds.AfterCancel = rec("AfterCancel");
        ds.BeforeDelete = rec("BeforeDelete");
        ds.AfterDelete = rec("AfterDelete");
        ds.AfterScroll = rec("AfterScroll");
        if (source)
            source->OnStateChange = [this, source](tk::TObject&) {
                events_.push_back(std::string("state:") + tk::stateName(source->State()));
            };
    }
    void add(std::string e) { events_.push_back(std::move(e)); }
    // The events so far, then forgets them.
    std::string take() {
        std::string out;
        for (const auto& e : events_) out += (out.empty() ? "" : ",") + e;
        events_.clear();
        return out;
    }

private:
    std::vector<std::string> events_;
};

// Every row as "NR|NAME|DT" lines joined by "; ", in canonical value rendering.
inline std::string rows(const tk::TClientDataSet& ds) {
    std::string out;
    for (int r = 1; r <= ds.RecordCount(); ++r) {
        if (r > 1) out += "; ";
        for (int c = 0; c < static_cast<int>(ds.Fields().size()); ++c)
            out += (c ? "|" : "") + wire::render(ds.ValueAt(r, c));
    }
    return out;
}

inline std::string renderRow(const wire::Row& row) {
    std::string out;
    for (std::size_t c = 0; c < row.size(); ++c) out += (c ? "|" : "") + wire::render(row[c]);
    return out;
}

// "insert new=4|Davi|; update old=..|.. new=..; delete old=.."
inline std::string render(const wire::ChangeLog& log) {
    std::string out;
    for (const auto& ch : log.changes) {
        if (!out.empty()) out += "; ";
        out += wire::opName(ch.op);
        if (ch.op != wire::ChangeOp::Insert) out += " old=" + renderRow(ch.oldRow);
        if (ch.op != wire::ChangeOp::Delete) out += " new=" + renderRow(ch.newRow);
    }
    return out;
}

}  // namespace tkdata
