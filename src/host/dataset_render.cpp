#include "host/dataset_render.h"

#include "host/script_command.h"
#include "wire/value.h"

namespace host {

std::string renderDataSet(const tk::TClientDataSet& data) {
    const bool active = data.Active();
    const int rows = active ? data.RecordCount() : 0;
    std::string out = data.Name() + " state=" + tk::stateName(data.State()) + " rows=" + std::to_string(rows) +
                      " current=" + std::to_string(active ? data.RecNo() : 0) + "\n";
    const auto& fields = data.Fields();
    for (int n = 1; n <= rows; ++n) {
        out += "  [" + std::to_string(n) + "] ";
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) out += ';';
            out += fields[i]->FieldName();
            out += '=';
            out += oneLine(wire::render(data.ValueAt(n, static_cast<int>(i))));
        }
        out += '\n';
    }
    return out;
}

}  // namespace host
