#include "toolkit/tfield.h"

#include <cmath>
#include <cstdio>

#include "toolkit/exceptions.h"
#include "toolkit/field_values.h"
#include "toolkit/formats.h"
#include "toolkit/tclientdataset.h"
#include "wire/utf8.h"

namespace tk {

namespace {

// Date values as numbers count days since 30/12/1899, the convention the screens' code
// was written against (whole days are dates, the fraction the time of day).
constexpr double kUnixEpochDay = 25569.0;

double dayNumber(const wire::DateTime& d) {
    return kUnixEpochDay + static_cast<double>(d.seconds()) / 86400.0;
}

wire::DateTime fromDayNumber(double days) {
    return wire::DateTime::fromSeconds(std::llround((days - kUnixEpochDay) * 86400.0));
}

// What a value of the type is, as the refusal names it ("um número válido").
const char* typeLabel(wire::FieldType t) {
    switch (t) {
        case wire::FieldType::Float: return "um número válido";
        case wire::FieldType::String: return "um texto válido";
        case wire::FieldType::DateTime: return "uma data válida";
    }
    return "um valor válido";
}

}  // namespace

std::string dateText(const wire::DateTime& d) {
    std::string text = FormatDate(d);
    if (d.hasTime()) {
        char buf[16];
        std::snprintf(buf, sizeof buf, " %02d:%02d:%02d", d.hour(), d.minute(), d.second());
        text += buf;
    }
    return text;
}

std::optional<wire::DateTime> parseDateText(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    auto space = text.find(' ');
    auto date = TryStrToDate(text.substr(0, space));
    if (!date || space == std::string_view::npos) return date;
    // "hh:mm" or "hh:mm:ss"
    std::string_view time = text.substr(space + 1);
    int parts[3] = {0, 0, 0};
    int n = 0, digits = 0;
    for (char c : time) {
        if (c == ':') {
            if (digits == 0 || ++n > 2) return std::nullopt;
            digits = 0;
        } else if (c >= '0' && c <= '9' && digits < 2) {
            parts[n] = parts[n] * 10 + (c - '0');
            ++digits;
        } else {
            return std::nullopt;
        }
    }
    if (n < 1 || digits == 0 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59) return std::nullopt;
    return wire::DateTime::fromSeconds(date->seconds() + parts[0] * 3600 + parts[1] * 60 + parts[2]);
}

void cutToSize(std::string& text, int size) {
    if (size > 0) wire::utf8::truncate(text, static_cast<std::size_t>(size));
}

wire::Value convertTo(wire::FieldType type, int size, const wire::Value& v, const std::string& fieldLabel) {
    if (wire::isNull(v)) return v;
    auto refuse = [&](const std::string& what) -> wire::Value {
        throw EConvertError(what + " não é " + typeLabel(type) + " para o campo " + fieldLabel + ".");
    };
    switch (type) {
        case wire::FieldType::Float:
            if (auto d = std::get_if<double>(&v)) return *d;
            if (auto s = std::get_if<std::string>(&v)) {
                if (s->find_first_not_of(' ') == std::string::npos) return wire::Null{};
                if (auto d = TryStrToFloat(*s)) return *d;
                return refuse("'" + *s + "'");
            }
            return dayNumber(std::get<wire::DateTime>(v));
        case wire::FieldType::String: {
            std::string s;
            if (auto p = std::get_if<std::string>(&v)) s = *p;
            else if (auto d = std::get_if<double>(&v)) s = FloatToStr(*d);
            else s = dateText(std::get<wire::DateTime>(v));
            cutToSize(s, size);
            return s;
        }
        case wire::FieldType::DateTime:
            if (auto d = std::get_if<wire::DateTime>(&v)) return *d;
            if (auto s = std::get_if<std::string>(&v)) {
                if (s->find_first_not_of(' ') == std::string::npos) return wire::Null{};
                if (auto d = parseDateText(*s)) return *d;
                if (auto d = wire::DateTime::parseIso(*s)) return *d;
                return refuse("'" + *s + "'");
            }
            return fromDayNumber(std::get<double>(v));
    }
    return refuse("O valor");
}

TField::TField(TClientDataSet& dataSet, std::string fieldName, wire::FieldType type, int size)
    : TComponent(dataSet.Owner(), dataSet.Name() + fieldName),
      dataSet_(dataSet),
      fieldName_(std::move(fieldName)),
      type_(type),
      size_(type == wire::FieldType::String ? size : 0) {
    dataSet_.addField(this);
}

TField::~TField() {
    if (!detached_) dataSet_.removeField(this);
}

std::string TField::label() const { return DisplayLabel.empty() ? fieldName_ : DisplayLabel; }

bool TField::IsNull() const { return wire::isNull(Value()); }

wire::Value TField::Value() const { return dataSet_.fieldValue(*this); }
wire::Value TField::OldValue() const { return dataSet_.fieldOldValue(*this); }

double TField::AsFloat() const {
    wire::Value v = Value();
    if (auto d = std::get_if<double>(&v)) return *d;
    if (auto s = std::get_if<std::string>(&v)) {
        if (auto d = TryStrToFloat(*s)) return *d;
        throw EConvertError("'" + *s + "' não é um número válido para o campo " + label() + ".");
    }
    if (auto d = std::get_if<wire::DateTime>(&v)) return dayNumber(*d);
    return 0.0;
}

std::string TField::AsString() const {
    wire::Value v = Value();
    if (auto s = std::get_if<std::string>(&v)) return *s;
    if (auto d = std::get_if<double>(&v)) return FloatToStr(*d);
    if (auto d = std::get_if<wire::DateTime>(&v)) return dateText(*d);
    return {};
}

wire::DateTime TField::AsDateTime() const {
    wire::Value v = Value();
    if (auto d = std::get_if<wire::DateTime>(&v)) return *d;
    if (auto d = std::get_if<double>(&v)) return fromDayNumber(*d);
    if (auto s = std::get_if<std::string>(&v)) {
        if (auto d = parseDateText(*s)) return *d;
        throw EConvertError("'" + *s + "' não é uma data válida para o campo " + label() + ".");
    }
    return {};
}

void TField::SetValue(const wire::Value& v) { dataSet_.setFieldValue(*this, convertTo(type_, size_, v, label())); }
void TField::SetAsFloat(double v) { SetValue(v); }
void TField::SetAsString(const std::string& v) { SetValue(v); }
void TField::SetAsDateTime(const wire::DateTime& v) { SetValue(v); }
void TField::Clear() { SetValue(wire::Null{}); }

std::string TField::Text() const {
    if (OnGetText) {
        std::string text;
        auto handler = OnGetText;  // the handler may replace itself
        handler(const_cast<TField&>(*this), text, false);
        return text;
    }
    wire::Value v = Value();
    if (auto d = std::get_if<double>(&v)) return FormatFloat(EditFormat.empty() ? DisplayFormat : EditFormat, *d);
    return AsString();
}

std::string TField::DisplayText() const {
    if (OnGetText) {
        std::string text;
        auto handler = OnGetText;
        handler(const_cast<TField&>(*this), text, true);
        return text;
    }
    wire::Value v = Value();
    if (auto d = std::get_if<double>(&v)) return FormatFloat(DisplayFormat, *d);
    return AsString();
}

void TField::SetText(const std::string& text) {
    if (OnSetText) {
        auto handler = OnSetText;
        handler(*this, text);
    } else {
        SetAsString(text);
    }
}

void TField::FocusControl() { dataSet_.focusField(*this); }

}  // namespace tk
