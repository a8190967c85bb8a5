#include "framework/consiste.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "toolkit/exceptions.h"
#include "toolkit/formats.h"
#include "toolkit/tapplication.h"

namespace fw::Consiste {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The column of `fieldName` that is the grid's selected one; nullptr otherwise.
const tk::TColumn* selectedColumnFor(const tk::TDBGrid& grid, std::string_view fieldName) {
    const int index = grid.SelectedIndex();
    const auto& columns = grid.Columns();
    if (index < 0 || index >= static_cast<int>(columns.size())) return nullptr;
    return columns[index].FieldName == fieldName ? &columns[index] : nullptr;
}

}  // namespace

void MensErro(const std::string& text, bool stop) {
    tk::TApplication::Instance().UI().ShowMessageError(text);
    if (stop) tk::Abort();
}

wire::DataPacket CheckResultServ(const TServerReply& reply, bool /*raise*/, int /*kind*/) {
    return reply.data.value_or(wire::DataPacket{});
}

bool EmptyString(std::string_view text) { return trim(text).empty(); }

int IndiceCol(const tk::TDBGrid& grid, std::string_view fieldName) {
    const auto& columns = grid.Columns();
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].FieldName == fieldName) return static_cast<int>(i);
    return -1;
}

std::string DateMask() { return "!99/99/9999;1; "; }

void DateSetText(tk::TField& field, const std::string& text) {
    // The mask leaves blanks where nothing was typed; "1 /2 /2025" still reads as a date.
    std::string compact;
    for (char c : text)
        if (!isBlank(c)) compact += c;
    std::string digits;
    for (char c : compact)
        if (c != '/') digits += c;
    if (digits.empty()) {
        field.Clear();
        return;
    }
    const auto date = tk::TryStrToDate(compact);
    if (!date)
        MensErro("Data inválida: \"" + std::string(trim(text)) +
                     "\". Informe uma data existente no formato dd/mm/aaaa.",
                 true);
    field.SetAsDateTime(*date);
}

std::string GridText(const tk::TDBGrid& grid, std::string_view fieldName, bool typing) {
    const tk::TColumn* selected = selectedColumnFor(grid, fieldName);
    if (typing && selected && grid.EditorSelectsAll()) return {};
    if (selected && grid.EditorModified()) return grid.EditorText();
    const tk::TDataSource* source = grid.DataSource();
    const tk::TClientDataSet* data = source ? source->DataSet() : nullptr;
    const tk::TField* field = data ? data->FindField(fieldName) : nullptr;
    return field ? field->Text() : std::string();
}

void RefreshGrid(tk::TForm& form) {
    if (auto* grid = dynamic_cast<tk::TDBGrid*>(form.ActiveControl())) grid->WriteEditorText();
}

double RoundDec(double value, int places) {
    if (!std::isfinite(value)) return value;
    const double scale = std::pow(10.0, places);
    // The scaled value read back from 15 significant digits is its decimal value: 2,675
    // scales to 267.49999999999997, which reads back as 267.5 and rounds to 268.
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value * scale);
    const double scaled = std::strtod(text, nullptr);
    return std::round(scaled) / scale;
}

std::string Ajusta(std::string_view text, int width) {
    const std::string_view code = trim(text);
    // An empty code stays empty, so that a "must be given" check still sees it.
    if (code.empty() || width <= 0) return std::string(code);
    if (static_cast<int>(code.size()) >= width) return std::string(code.substr(code.size() - width));
    return std::string(width - code.size(), '0') + std::string(code);
}

}  // namespace fw::Consiste
