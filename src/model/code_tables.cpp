#include "model/code_tables.h"

#include "toolkit/tclientdataset.h"

namespace model {

std::string CodeText(const tk::TField& field, std::span<const CodeEntry> table, const fw::TMessages& messages) {
    if (field.DataSet().IsEmpty()) return {};
    const CodeEntry* entry = wire::findCode(table, field.AsString());
    return entry ? messages.Msg(entry->messageKey) : std::string();
}

void CodeSetText(tk::TField& field, const std::string& text, std::span<const CodeEntry> table,
                 const fw::TMessages& messages) {
    for (const auto& entry : table) {
        if (text == messages.Msg(entry.messageKey)) {
            field.SetAsString(entry.code);
            return;
        }
    }
}

std::vector<std::string> CodePickList(std::span<const CodeEntry> table, const fw::TMessages& messages) {
    std::vector<std::string> list;
    for (const auto& entry : table) list.push_back(messages.Msg(entry.messageKey));
    return list;
}

}  // namespace model
