#include "gui/desktop/screen_lookup.h"

#include "toolkit/tfield.h"

namespace gui {

int RowOf(const tk::TClientDataSet& set, std::string_view name, double number) {
    if (!set.Active()) return 0;
    const auto& fields = set.Fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i]->FieldName() != name) continue;
        for (int r = 1; r <= set.RecordCount(); ++r) {
            const wire::Value v = set.ValueAt(r, static_cast<int>(i));
            if (const double* n = std::get_if<double>(&v); n && *n == number) return r;
        }
        return 0;
    }
    return 0;
}

}  // namespace gui
