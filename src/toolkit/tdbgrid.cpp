#include "toolkit/tdbgrid.h"

#include <algorithm>
#include <stdexcept>

#include "toolkit/edit_mask.h"
#include "toolkit/exceptions.h"
#include "toolkit/tapplication.h"
#include "toolkit/tform.h"
#include "wire/utf8.h"

namespace tk {

TField* TColumn::Field() const {
    if (!grid_ || !grid_->DataSource() || !grid_->DataSource()->DataSet()) return nullptr;
    return grid_->DataSource()->DataSet()->FindField(FieldName);
}

std::string TColumn::TitleText() const {
    if (!Title.empty()) return Title;
    if (TField* f = Field(); f && !f->DisplayLabel.empty()) return f->DisplayLabel;
    return FieldName;
}

// The grid's private working parts, kept out of the header.
struct TDBGrid::Impl {
    // While the editor's own text goes into the field, the field's changes are that write,
    // not a handler's.
    class Writing {
    public:
        explicit Writing(TDBGrid& g) : g_(g) { g_.writing_ = true; }
        ~Writing() { g_.writing_ = false; }
        Writing(const Writing&) = delete;
        Writing& operator=(const Writing&) = delete;

    private:
        TDBGrid& g_;
    };

    static TClientDataSet* set(const TDBGrid& g) {
        return g.dataSource_ ? g.dataSource_->DataSet() : nullptr;
    }

    static void editorChanged(TDBGrid& g) {
        g.editorChanged_.notify();
        g.Changed();
    }

    // The editor shows the selected field's edit text again, unmodified, ready to be replaced.
    static void reset(TDBGrid& g) {
        TField* f = g.SelectedField();
        TClientDataSet* s = set(g);
        g.editorText_ = f && s && s->Active() ? f->Text() : std::string();
        g.editorModified_ = false;
        g.freshCell_ = true;
        editorChanged(g);
    }

    // The field that a keystroke would edit, or nullptr when the cell cannot be edited.
    static TField* writableField(const TDBGrid& g) {
        TClientDataSet* s = set(g);
        if (g.ReadOnly || !s || !s->Active()) return nullptr;
        if (g.selected_ < 0 || g.selected_ >= static_cast<int>(g.columns_.size())) return nullptr;
        const TColumn& col = g.columns_[g.selected_];
        TField* f = col.Field();
        if (col.ReadOnly || !f || f->ReadOnly) return nullptr;
        return f;
    }

    static void startEdit(TDBGrid& g) {
        TClientDataSet* s = set(g);
        if (s->State() == TDataSetState::dsBrowse) s->Edit();
    }

    static void setEditor(TDBGrid& g, std::string text) {
        g.editorText_ = std::move(text);
        g.editorModified_ = true;
        g.freshCell_ = false;
        editorChanged(g);
    }

    // How many characters the editor takes for `f`: a text field's size, as the text goes
    // into it as typed. A field whose text passes its OnSetText is not limited (a shown word
    // stands for a shorter code); 0 means no limit.
    static std::size_t editLimit(const TField& f) {
        if (f.DataType() != wire::FieldType::String || f.OnSetText || f.Size() <= 0) return 0;
        return static_cast<std::size_t>(f.Size());
    }

    // A character that got past the key events.
    static void type(TDBGrid& g, char32_t ch) {
        TField* f = writableField(g);
        if (!f) return;
        std::string text;
        if (!f->EditMask.empty()) {
            EditMask mask(f->EditMask);
            auto typed = mask.Type(g.freshCell_ ? mask.Blank() : g.editorText_, ch);
            if (!typed) return;
            text = std::move(*typed);
        } else {
            if (!g.freshCell_) text = g.editorText_;
            wire::utf8::append(text, ch);
            // A character the field could not hold is not taken: what the cell shows is stored.
            if (const std::size_t limit = editLimit(*f); limit && wire::utf8::length(text) > limit) return;
        }
        startEdit(g);
        setEditor(g, std::move(text));
    }

    // Backspace, or Delete on a fresh cell (`wholeOnly`): a fresh cell is cleared whole.
    // Nothing to remove leaves no trace (no edit state either).
    static void erase(TDBGrid& g, bool wholeOnly) {
        TField* f = writableField(g);
        if (!f || (wholeOnly && !g.freshCell_)) return;
        EditMask mask(f->EditMask);
        std::string text;
        if (g.freshCell_) {
            if (g.editorText_.empty() || (!mask.Empty() && mask.IsBlank(g.editorText_))) return;
            text = mask.Empty() ? std::string() : mask.Blank();
        } else {
            text = mask.Empty() ? g.editorText_ : mask.Backspace(g.editorText_);
            if (mask.Empty()) wire::utf8::popBack(text);
            if (text == g.editorText_) return;
        }
        startEdit(g);
        setEditor(g, std::move(text));
    }

    static void enter(TDBGrid& g) {
        g.WriteEditorText();
        g.freshCell_ = true;
        editorChanged(g);
    }

    static int visibleColumn(const TDBGrid& g, int from, int step) {
        for (int i = from + step; i >= 0 && i < static_cast<int>(g.columns_.size()); i += step)
            if (g.columns_[i].Visible) return i;
        return -1;
    }

    static void selectColumn(TDBGrid& g, int index) {
        g.selected_ = index;
        reset(g);
    }

    // A click on the grid gives it the focus first; false when it cannot have it.
    static bool takeFocus(TDBGrid& g) { return g.Focused() || g.SetFocus(); }

    static void requireFocus(const TDBGrid& g) {
        if (!g.Focused()) throw std::logic_error("the grid " + g.Name() + " does not have the focus");
    }

    static void moveRow(TDBGrid& g, int step) {
        TClientDataSet* s = set(g);
        if (!s || !s->Active()) return;
        g.WriteEditorText();
        if (step < 0) s->Prior(); else s->Next();
    }

    // The first Escape takes back what was typed in the cell; only an Escape on an
    // untouched cell cancels the row, so that one key never drops a row's worth of typing.
    static void escape(TDBGrid& g) {
        if (g.editorModified_) return reset(g);
        TClientDataSet* s = set(g);
        if (s && s->Editing()) s->Cancel();
        reset(g);
    }

    // Tab past the last visible column goes on at the first column of the next row (and
    // Shift+Tab before the first, at the last of the previous row). The cell is left as by
    // a column move, then the row move posts as any row move does. The first and last rows
    // keep the cell: a Tab never appends a row.
    static void tab(TDBGrid& g, bool back) {
        const int step = back ? -1 : 1;
        const int next = visibleColumn(g, g.selected_, step);
        if (next >= 0) return g.UserSelectColumn(next);
        TClientDataSet* s = set(g);
        if (!s || !s->Active()) return;
        const int row = s->RecNo() + step;
        if (row < 1 || row > s->RecordCount()) return;
        const int wrapped = visibleColumn(g, back ? static_cast<int>(g.columns_.size()) : -1, step);
        if (wrapped < 0) return;
        if (wrapped == g.selected_) return moveRow(g, step);  // one visible column: a row move
        g.WriteEditorText();
        if (g.OnColExit) g.OnColExit(g);
        moveRow(g, step);
        selectColumn(g, wrapped);
        if (g.OnColEnter) g.OnColEnter(g);
    }

    static void editButton(TDBGrid& g) {
        if (g.ShowsEditButton() && g.OnEditButtonClick) g.OnEditButtonClick(g);
    }

    // Ctrl+Delete: the grid asks first, then deletes through the data set as any delete
    // does (its handlers run). No view to ask means no answer, so nothing is deleted.
    static void deleteRow(TDBGrid& g) {
        TClientDataSet* s = set(g);
        if (g.ReadOnly || !s || !s->Active() || s->IsEmpty() || !TApplication::HasInstance()) return;
        if (!TApplication::Instance().UI().Confirm(kDeleteQuestionKey, kDeleteQuestionText)) return;
        s->Delete();
    }
};

TDBGrid::TDBGrid(TComponent* owner, std::string name, TControl* parent) : TControl(owner, std::move(name), parent) {}

TDBGrid::~TDBGrid() {
    if (dataSource_) dataSource_->RemoveLink(this);
}

void TDBGrid::SetDataSource(TDataSource* source) {
    if (source == dataSource_) return;
    if (dataSource_) dataSource_->RemoveLink(this);
    dataSource_ = source;
    if (dataSource_) dataSource_->AddLink(this);
    Impl::reset(*this);
}

TColumn& TDBGrid::AddColumn(std::string fieldName, int width) {
    TColumn& col = columns_.emplace_back();
    col.FieldName = std::move(fieldName);
    col.Width = width;
    col.grid_ = this;
    if (columns_.size() == 1) Impl::reset(*this);
    Changed();
    return col;
}

void TDBGrid::SetSelectedIndex(int index) {
    if (index < 0 || index >= static_cast<int>(columns_.size()))
        throw std::out_of_range("column " + std::to_string(index) + " of " + Name() + " does not exist");
    WriteEditorText();
    if (index == selected_) return;
    Impl::selectColumn(*this, index);
}

TField* TDBGrid::SelectedField() const {
    if (selected_ < 0 || selected_ >= static_cast<int>(columns_.size())) return nullptr;
    return columns_[selected_].Field();
}

void TDBGrid::SetSelectedField(const TField* field) {
    for (int i = 0; i < static_cast<int>(columns_.size()); ++i)
        if (field && columns_[i].Field() == field) return SetSelectedIndex(i);
}

void TDBGrid::WriteEditorText() {
    if (!editorModified_) return;
    TField* f = SelectedField();
    TClientDataSet* s = Impl::set(*this);
    if (!f || !s || !s->Active()) {
        Impl::reset(*this);
        return;
    }
    if (!s->Editing()) s->Edit();
    EditMask mask(f->EditMask);
    try {
        const Impl::Writing writing(*this);
        f->SetText(mask.Empty() ? editorText_ : mask.FieldText(editorText_));
    } catch (...) {
        // The refused text stays in view, selected whole: the next keystroke replaces it
        // instead of joining a full mask or a text that is no number.
        freshCell_ = true;
        Impl::editorChanged(*this);
        throw;
    }
    editorModified_ = false;
    editorText_ = f->Text();
    Impl::editorChanged(*this);
}

bool TDBGrid::ShowsEditButton() const {
    if (selected_ < 0 || selected_ >= static_cast<int>(columns_.size())) return false;
    const TColumn& col = columns_[selected_];
    return col.Visible && col.ButtonStyle == TColumnButtonStyle::cbsEllipsis;
}

void TDBGrid::UserType(char32_t ch) {
    switch (ch) {
    case VK_BACK: case VK_TAB: case VK_RETURN: case VK_ESCAPE:
        return UserKey(static_cast<std::uint16_t>(ch));
    default:
        break;
    }
    Impl::requireFocus(*this);
    std::uint16_t vk = virtualKeyOf(ch);
    try {
        if (OnKeyDown) OnKeyDown(*this, vk, 0);
    } catch (const EAbort&) {
        return;
    }
    if (OnKeyPress) OnKeyPress(*this, ch);
    switch (ch) {
    case 0: return;
    case VK_BACK: return Impl::erase(*this, false);
    case VK_RETURN: return Impl::enter(*this);
    default: break;
    }
    if (ch < 0x20 || ch == 0x7F) return;
    Impl::type(*this, ch);
}

void TDBGrid::UserKey(std::uint16_t vk, TShiftState shift) {
    Impl::requireFocus(*this);
    try {
        if (OnKeyDown) OnKeyDown(*this, vk, shift);
    } catch (const EAbort&) {
        return;
    }
    // Ctrl+Tab and Ctrl+Enter are commands of the grid, not characters.
    const bool command = (shift & ssCtrl) && (vk == VK_TAB || vk == VK_RETURN);
    // Enter and Backspace are characters the key filters may drop. Tab and Escape move
    // and cancel at key-down, as a grid's navigation keys do: a filter that drops their
    // character afterwards must not trap the user in a column or an edit.
    if (!command && (vk == VK_RETURN || vk == VK_BACK)) {
        char32_t ch = vk;
        if (OnKeyPress) OnKeyPress(*this, ch);
        if (ch == 0) return;
    }
    navigate(vk, shift);
    if (!command && (vk == VK_TAB || vk == VK_ESCAPE)) {
        char32_t ch = vk;
        if (OnKeyPress) OnKeyPress(*this, ch);
    }
}

void TDBGrid::navigate(std::uint16_t vk, TShiftState shift) {
    const bool ctrl = shift & ssCtrl;
    switch (vk) {
    case VK_RETURN:
        if (ctrl)
            Impl::editButton(*this);
        else
            Impl::enter(*this);
        break;
    case VK_TAB:
        if (!ctrl) {
            Impl::tab(*this, shift & ssShift);
        } else if (TForm* form = ParentForm()) {
            form->SelectNext(this, !(shift & ssShift));
        }
        break;
    case VK_LEFT:
    case VK_RIGHT: {
        int next = Impl::visibleColumn(*this, selected_, vk == VK_LEFT ? -1 : 1);
        if (next >= 0) UserSelectColumn(next);
        break;
    }
    case VK_UP: Impl::moveRow(*this, -1); break;
    case VK_DOWN: Impl::moveRow(*this, 1); break;
    case VK_BACK: Impl::erase(*this, false); break;
    case VK_DELETE:
        if (ctrl)
            Impl::deleteRow(*this);
        else
            Impl::erase(*this, true);
        break;
    case VK_ESCAPE: Impl::escape(*this); break;
    case VK_INSERT:
        if (TClientDataSet* s = Impl::set(*this); s && s->Active() && !ReadOnly) {
            WriteEditorText();
            s->Insert();
        }
        break;
    default:
        break;
    }
}

void TDBGrid::UserSelectColumn(int index) {
    if (index < 0 || index >= static_cast<int>(columns_.size()) || !columns_[index].Visible) return;
    if (!Impl::takeFocus(*this) || index == selected_) return;
    WriteEditorText();
    if (OnColExit) OnColExit(*this);
    Impl::selectColumn(*this, index);
    if (OnColEnter) OnColEnter(*this);
}

void TDBGrid::UserSelectRow(int recNo) {
    if (!Impl::takeFocus(*this)) return;
    TClientDataSet* s = Impl::set(*this);
    if (!s || !s->Active() || recNo == s->RecNo()) return;
    WriteEditorText();
    s->SetRecNo(recNo);
}

void TDBGrid::UserPick(const std::string& text) {
    if (!Impl::takeFocus(*this)) return;
    TField* f = Impl::writableField(*this);
    if (!f) return;
    const auto& list = columns_[selected_].PickList;
    if (std::find(list.begin(), list.end(), text) == list.end())
        throw std::invalid_argument("\"" + text + "\" is not in the pick list of " + Name());
    Impl::startEdit(*this);
    Impl::setEditor(*this, text);
}

void TDBGrid::UserEditButton() {
    if (Impl::takeFocus(*this)) Impl::editButton(*this);
}

std::string TDBGrid::CellText(int recNo, int columnIndex) const {
    if (columnIndex < 0 || columnIndex >= static_cast<int>(columns_.size())) return "";
    TField* f = columns_[columnIndex].Field();
    TClientDataSet* s = Impl::set(*this);
    if (!f || !s || !s->Active()) return "";
    if (editorModified_ && columnIndex == selected_ && recNo == s->RecNo()) return editorText_;
    return s->DisplayTextAt(recNo, *f);
}

void TDBGrid::DataEvent(TDataEvent event, TField* field) {
    switch (event) {
    case TDataEvent::StateChange: {
        // Going into edit keeps what is being typed; any other state starts afresh.
        TClientDataSet* s = Impl::set(*this);
        if (!s || s->State() != TDataSetState::dsEdit) Impl::reset(*this);
        break;
    }
    case TDataEvent::DataSetChange:
    case TDataEvent::Scroll:
        Impl::reset(*this);
        break;
    case TDataEvent::FieldChange:
        // A handler that assigns the field being edited (a search's pick, say) replaces what
        // was typed there: the editor shows the field's new value, so that what is shown is
        // what is stored. An untouched cell keeps whether the next keystroke replaces it.
        if (!writing_ && (!field || field == SelectedField())) {
            const bool fresh = freshCell_ || editorModified_;
            Impl::reset(*this);
            freshCell_ = fresh;
        }
        break;
    case TDataEvent::UpdateRecord:
        WriteEditorText();
        return;
    }
    Changed();
}

bool TDBGrid::FocusField(TField& field) {
    // A hidden column still ties the field to this grid: the grid takes the focus but keeps
    // its column, as the user could not select that one either. The answer is whether the
    // focus is here now, so that the data source asks the next grid when this one cannot
    // take it.
    int hiddenMatch = -1;
    for (int i = 0; i < static_cast<int>(columns_.size()); ++i) {
        if (columns_[i].Field() != &field) continue;
        if (!columns_[i].Visible) {
            hiddenMatch = i;
            continue;
        }
        SetSelectedIndex(i);
        // The cell is handed to the user afresh, its whole text selected, also when it was
        // the selected one already (a check that refused it): the next keystroke replaces
        // the text instead of joining a full mask or the value just refused.
        Impl::reset(*this);
        return CanFocus() && SetFocus();
    }
    return hiddenMatch >= 0 && CanFocus() && SetFocus();
}

void TDBGrid::beforeExit() {
    TClientDataSet* s = Impl::set(*this);
    if (CancelOnExit && s && s->State() == TDataSetState::dsInsert && !s->Modified() && !editorModified_) {
        s->Cancel();
        return;
    }
    WriteEditorText();
}

}  // namespace tk
