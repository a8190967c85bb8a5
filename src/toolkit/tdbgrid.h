// Data-aware grid: columns over a data source, an in-place editor, key events.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/keys.h"
#include "toolkit/tcontrol.h"
#include "toolkit/tdatasource.h"

namespace tk {

enum class TColumnButtonStyle { cbsAuto, cbsEllipsis, cbsNone };

class TDBGrid;

class TColumn {
public:
    std::string FieldName;
    int Width = -1;  // -1: the toolkit's default (64)
    bool Visible = true;
    bool ReadOnly = false;
    std::vector<std::string> PickList;
    TColumnButtonStyle ButtonStyle = TColumnButtonStyle::cbsAuto;
    std::string Title;  // empty: the field's DisplayLabel, else its name

    TField* Field() const;  // the grid's data set field of that name, or nullptr
    std::string TitleText() const;

private:
    friend class TDBGrid;
    TDBGrid* grid_ = nullptr;
};

class TDBGrid : public TControl, private TDataLink {
public:
    static constexpr int kDefaultColumnWidth = 64;

    TDBGrid(TComponent* owner, std::string name, TControl* parent);
    ~TDBGrid() override;

    TDataSource* DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource* source);

    TColumn& AddColumn(std::string fieldName, int width = -1);
    std::vector<TColumn>& Columns() { return columns_; }
    const std::vector<TColumn>& Columns() const { return columns_; }

    int SelectedIndex() const { return selected_; }
    // Writes a pending edit, then selects; runs no OnColExit (a program's choice, not the user's).
    void SetSelectedIndex(int index);
    TField* SelectedField() const;
    void SetSelectedField(const TField* field);

    // The in-place editor: the text being typed in the selected cell.
    const std::string& EditorText() const { return editorText_; }
    bool EditorModified() const { return editorModified_; }
    // True while the next keystroke replaces the whole cell text (a freshly selected cell).
    bool EditorSelectsAll() const { return freshCell_; }
    // Writes a modified editor text into the selected field (Field.Text = ...). When the
    // field refuses it, the text stays in the editor, whole selected, and the failure goes on.
    void WriteEditorText();

    bool CancelOnExit = true;
    bool ReadOnly = false;
    // The selected column shows its edit button (ellipsis style).
    bool ShowsEditButton() const;

    std::function<void(TObject& sender, std::uint16_t& key, TShiftState shift)> OnKeyDown;
    std::function<void(TObject& sender, char32_t& key)> OnKeyPress;
    TNotifyEvent OnColExit;
    TNotifyEvent OnColEnter;
    TNotifyEvent OnEditButtonClick;

    // The user's actions, fed in by a view. The grid must have the focus for keys.
    // Each may throw (EAbort, or an error the host shows).
    //
    // A typed character: OnKeyDown (EAbort drops it), OnKeyPress (0 drops it), then a
    // browsing set goes into edit and the character enters the editor. The first
    // keystroke in a newly selected cell replaces the whole text; later ones append.
    // Characters for a read-only column or field, or a grid without a set, are dropped, and
    // so is one past the size of a text field (unless its text goes through OnSetText).
    // A program's change to the selected field shows in the editor, replacing what was typed.
    void UserType(char32_t ch);
    // Enter (writes the editor text), Left/Right (column moves), Up/Down (row moves),
    // Backspace, Delete (clears a freshly selected cell), Insert (inserts a row), and:
    // - Tab / Shift+Tab: the next / previous visible column; past the last (first) one, the
    //   first (last) column of the next (previous) row; on the last (first) row it stays:
    //   a Tab never appends a row;
    // - Ctrl+Tab / Ctrl+Shift+Tab: the focus goes to the next / previous control of the form;
    // - Escape: undoes the cell being typed when its text was changed, else cancels the row;
    // - Ctrl+Delete: deletes the current row through the data set after the question
    //   kDeleteQuestionKey (answered No, nothing happens);
    // - Ctrl+Enter: runs the edit button of an ellipsis column, as a click does.
    // OnKeyDown runs first (EAbort drops the key). Enter and Backspace then pass OnKeyPress,
    // which may drop them; Tab and Escape act first and reach OnKeyPress afterwards, which
    // cannot undo them; Ctrl+Tab and Ctrl+Enter type no character and skip OnKeyPress.
    void UserKey(std::uint16_t vk, TShiftState shift = 0);
    // The grid's own confirmation question before Ctrl+Delete deletes a row.
    static constexpr const char* kDeleteQuestionKey = "ExcluirRegistro";
    static constexpr const char* kDeleteQuestionText = "Excluir o registro?";
    // Column move: write the text, OnColExit (an exception keeps the column), select,
    // OnColEnter. Hidden columns cannot be selected.
    void UserSelectColumn(int index);
    // Row move: write the text, then move the set (browse check first).
    void UserSelectRow(int recNo);
    // Puts a pick-list entry in the editor as if typed (no key filters).
    void UserPick(const std::string& text);
    // Runs OnEditButtonClick when the selected column shows an edit button.
    void UserEditButton();

    // Text shown in a cell (display text; the editor's text for the cell being edited).
    std::string CellText(int recNo, int columnIndex) const;

    Notifier<>& OnEditorChanged() { return editorChanged_; }

protected:
    bool TakesFocus() const override { return true; }

private:
    void DataEvent(TDataEvent event, TField* field) override;
    bool FocusField(TField& field) override;
    friend class TForm;
    void beforeExit();  // cancel-on-exit or write the text; called by the form before OnExit
    void navigate(std::uint16_t vk, TShiftState shift);  // the action of a named key
    struct Impl;
    TDataSource* dataSource_ = nullptr;
    std::vector<TColumn> columns_;
    int selected_ = 0;
    std::string editorText_;
    bool editorModified_ = false;
    bool freshCell_ = true;
    bool writing_ = false;  // WriteEditorText is putting the editor's text into the field
    Notifier<> editorChanged_;
};

}  // namespace tk
