#include "wire/packet.h"

namespace wire {
namespace {

int indexOf(const std::vector<FieldDef>& fields, std::string_view name) {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name == name) return static_cast<int>(i);
    return -1;
}

}  // namespace

int DataPacket::fieldIndex(std::string_view name) const { return indexOf(fields, name); }
int ChangeLog::fieldIndex(std::string_view name) const { return indexOf(fields, name); }

const char* opName(ChangeOp op) {
    switch (op) {
        case ChangeOp::Insert: return "insert";
        case ChangeOp::Update: return "update";
        case ChangeOp::Delete: return "delete";
    }
    return "?";
}

}  // namespace wire
