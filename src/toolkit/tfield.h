// One column of a data set: typed value of the current row, texts, formats, flags.
#pragma once
#include <functional>
#include <string>

#include "toolkit/tcomponent.h"
#include "wire/value.h"

namespace tk {

class TClientDataSet;

class TField : public TComponent {
public:
    // Appends itself to `dataSet`'s fields. Its component name is the set's name followed
    // by the field name (cdsCargoIDCARGOVEND), owned by the set's owner.
    TField(TClientDataSet& dataSet, std::string fieldName, wire::FieldType type, int size = 0);
    ~TField() override;

    const std::string& FieldName() const { return fieldName_; }
    wire::FieldType DataType() const { return type_; }
    int Size() const { return size_; }
    TClientDataSet& DataSet() const { return dataSet_; }
    wire::FieldDef Def() const { return {fieldName_, type_, size_}; }

    // Values of the current row; null (and every getter's zero value) on an empty set.
    bool IsNull() const;
    wire::Value Value() const;
    // The value the current row held when its edit began; outside edit state, Value().
    wire::Value OldValue() const;
    double AsFloat() const;          // null reads 0; a string field converts or throws EConvertError
    std::string AsString() const;    // null reads ""; floats shortest with a decimal comma, dates dd/mm/yyyy
    wire::DateTime AsDateTime() const;  // null reads the zero date

    // Setters need the set in edit or insert state (EDatabaseError otherwise). Strings are
    // cut to Size. A value of another type is converted or refused with EConvertError.
    void SetValue(const wire::Value& v);
    void SetAsFloat(double v);
    void SetAsString(const std::string& v);  // for floats and dates, reads the Brazilian text; "" clears
    void SetAsDateTime(const wire::DateTime& v);
    void Clear();

    // Edit text: OnGetText(displayText=false) when assigned, else EditFormat (floats) or
    // dd/mm/yyyy (dates, with the time when not midnight); "" for null.
    std::string Text() const;
    std::string GetEditText() const { return Text(); }
    // Display text: OnGetText(displayText=true) when assigned, else DisplayFormat.
    std::string DisplayText() const;
    // OnSetText when assigned, else SetAsString.
    void SetText(const std::string& text);

    // Asks every grid showing this field to select its column and take the focus when it
    // can (visible, on the active page, enabled).
    void FocusControl();

    std::string DisplayLabel;
    std::string DisplayFormat;
    std::string EditFormat;
    std::string EditMask;
    bool ReadOnly = false;
    bool Visible = true;
    int Tag = 0;

    std::function<void(TField& sender, std::string& text, bool displayText)> OnGetText;
    std::function<void(TField& sender, const std::string& text)> OnSetText;

private:
    friend class TClientDataSet;
    std::string label() const;  // how messages name the field: DisplayLabel, else the name
    TClientDataSet& dataSet_;
    std::string fieldName_;
    wire::FieldType type_;
    int size_;
    bool detached_ = false;  // the data set went first: nothing to unregister from
};

}  // namespace tk
