// Data packets and change logs: plain values that travel on the wire and feed the store.
#pragma once
#include <string>
#include <vector>

#include "wire/value.h"

namespace wire {

struct DataPacket {
    std::vector<FieldDef> fields;
    std::vector<Row> rows;
    // Index of a field by exact name, or -1.
    int fieldIndex(std::string_view name) const;
    bool operator==(const DataPacket&) const = default;
};

enum class ChangeOp { Insert, Update, Delete };
const char* opName(ChangeOp op);  // "insert", "update", "delete"

struct Change {
    ChangeOp op = ChangeOp::Insert;
    Row oldRow;  // update and delete: the row as last read
    Row newRow;  // insert and update: the row as it should become
    bool operator==(const Change&) const = default;
};

struct ChangeLog {
    std::vector<FieldDef> fields;
    std::vector<Change> changes;
    int fieldIndex(std::string_view name) const;
    bool operator==(const ChangeLog&) const = default;
};

}  // namespace wire
