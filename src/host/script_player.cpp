#include "host/script_player.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "framework/host_services.h"
#include "framework/tnetconnection.h"
#include "host/change_history.h"
#include "host/commission_questions.h"
#include "host/dataset_render.h"
#include "host/question_lines.h"
#include "host/script_error.h"
#include "toolkit/tclientdataset.h"
#include "toolkit/tdbgrid.h"
#include "toolkit/tdbnavigator.h"
#include "toolkit/tfield.h"
#include "toolkit/tform.h"
#include "toolkit/tmenuitem.h"
#include "toolkit/tpagecontrol.h"
#include "toolkit/tspeedbutton.h"
#include "wire/value.h"

namespace host {
namespace {

constexpr std::array<std::string_view, 7> kToolbar{"sbtIncluir",  "sbtAlterar",  "sbtExcluir", "sbtConfirmar",
                                                   "sbtCancelar", "sbtProcurar", "sbtVerificar"};
constexpr std::array<std::string_view, 4> kPages{"tshFolhaDados", "tshFormulario", "tshEvento", "tshPromocao"};
constexpr std::array<std::string_view, 4> kPageMenus{"mnuFolhaDados", "mnuFormulario", "mnuTipoEvento",
                                                     "mnuPromocao"};

[[noreturn]] void fail(const ScriptCommand& c, const std::string& what) {
    throw ScriptError("line " + std::to_string(c.line) + ": " + what + " (" + c.text + ")");
}

bool enabledInChain(const tk::TControl& control) {
    for (const tk::TControl* p = &control; p; p = p->Parent())
        if (!p->Enabled()) return false;
    return true;
}

const char* windowStateName(tk::TWindowState s) {
    switch (s) {
    case tk::TWindowState::wsNormal: return "normal";
    case tk::TWindowState::wsMinimized: return "minimized";
    case tk::TWindowState::wsMaximized: return "maximized";
    }
    return "normal";
}

tk::TNavigateBtn navButton(const std::string& name) {
    if (name == "first") return tk::TNavigateBtn::nbFirst;
    if (name == "prior") return tk::TNavigateBtn::nbPrior;
    if (name == "next") return tk::TNavigateBtn::nbNext;
    return tk::TNavigateBtn::nbLast;
}

// Runs one user action as the message loop would: where it ends, its failure is shown
// (EAbort silently). Script errors pass through.
template <class F>
void guarded(tk::TApplication& app, F&& action) {
    std::exception_ptr failure;
    try {
        action();
    } catch (const ScriptError&) {
        throw;
    } catch (...) {
        failure = std::current_exception();
    }
    app.HandleException(failure);
}

}  // namespace

ScriptPlayer::ScriptPlayer(tk::TApplication& app, ScriptUserInterface& ui, ScreenModule module, std::ostream& out)
    : app_(app), ui_(ui), module_(std::move(module)), out_(out) {}

void ScriptPlayer::play(std::istream& script) {
    // The whole script is checked first, so a typing mistake plays nothing.
    std::vector<ScriptCommand> commands;
    std::string line;
    int lineNo = 0;
    while (std::getline(script, line)) {
        ++lineNo;
        if (auto command = parseScriptLine(line, lineNo)) commands.push_back(std::move(*command));
    }
    for (const auto& command : commands) run(command);
}

void ScriptPlayer::run(const ScriptCommand& command) {
    guarded(app_, [&] { execute(command); });
    if (ui_.failure()) fail(command, *ui_.failure());
    guarded(app_, [&] { app_.ProcessReleased(); });
    out_.flush();
}

tk::TForm* ScriptPlayer::screen() const {
    tk::TForm* form = module_.form ? module_.form() : nullptr;
    if (!form) return nullptr;
    // The variable keeps its value after the screen is closed and destroyed.
    for (const auto& live : app_.Forms())
        if (live.get() == form) return form;
    return nullptr;
}

tk::TForm& ScriptPlayer::requireScreen(const ScriptCommand& c) const {
    tk::TForm* form = screen();
    if (!form) fail(c, "the screen is not open");
    return *form;
}

tk::TComponent& ScriptPlayer::component(const ScriptCommand& c, std::string_view name) const {
    tk::TComponent* found = nullptr;
    if (tk::TForm* form = screen()) found = form->FindComponent(name);
    if (!found) found = app_.FindComponent(name);
    if (!found) fail(c, "no component named " + std::string(name));
    return *found;
}

template <class T>
T& ScriptPlayer::find(const ScriptCommand& c, std::string_view name, const char* kind) const {
    auto* typed = dynamic_cast<T*>(&component(c, name));
    if (!typed) fail(c, std::string(name) + " is not a " + kind);
    return *typed;
}

void ScriptPlayer::refused(std::string_view name, std::string_view why) {
    out_ << "refused: " << name << ' ' << why << '\n';
}

bool ScriptPlayer::focusGrid(tk::TDBGrid& grid) {
    if (grid.Focused()) return true;
    if (!grid.CanFocus()) {
        refused(grid.Name(), enabledInChain(grid) ? "hidden" : "disabled");
        return false;
    }
    tk::TForm* form = grid.ParentForm();
    if (!form) return false;
    return form->FocusControl(&grid);
}

void ScriptPlayer::execute(const ScriptCommand& c) {
    const auto& a = c.args;
    switch (c.verb) {
    case Verb::Open:
        module_.open();
        break;
    case Verb::Activate: {
        tk::TForm& form = requireScreen(c);
        app_.ActivateForm(nullptr);
        app_.ActivateForm(&form);
        break;
    }
    case Verb::Close:
        requireScreen(c).Close();
        break;
    case Verb::Tab: {
        auto& page = find<tk::TTabSheet>(c, a[0], "page");
        if (!page.Enabled() || !enabledInChain(page.PageControl()))
            refused(page.Name());
        else
            page.PageControl().UserSelectTab(&page);
        break;
    }
    case Verb::Menu: {
        auto& item = find<tk::TMenuItem>(c, a[0], "menu item");
        if (!item.UserClick()) refused(item.Name());
        break;
    }
    case Verb::Click: {
        auto& button = find<tk::TSpeedButton>(c, a[0], "toolbar button");
        if (!button.UserClick()) refused(button.Name());
        break;
    }
    case Verb::Nav: {
        auto& navigator = find<tk::TDBNavigator>(c, "dbnPadrao", "navigator");
        if (!navigator.UserClick(navButton(a[0]))) refused(navigator.Name());
        break;
    }
    case Verb::Focus:
        focusGrid(find<tk::TDBGrid>(c, a[0], "grid"));
        break;
    case Verb::Column: {
        auto& grid = find<tk::TDBGrid>(c, a[0], "grid");
        const auto& columns = grid.Columns();
        auto it = std::find_if(columns.begin(), columns.end(), [&](const tk::TColumn& col) { return col.FieldName == a[1]; });
        if (it == columns.end()) fail(c, a[0] + " has no column for " + a[1]);
        if (!it->Visible) fail(c, "the column " + a[1] + " of " + a[0] + " is hidden");
        if (focusGrid(grid)) grid.UserSelectColumn(static_cast<int>(it - columns.begin()));
        break;
    }
    case Verb::Row: {
        auto& grid = find<tk::TDBGrid>(c, a[0], "grid");
        const int row = std::stoi(a[1]);
        tk::TClientDataSet* data = grid.DataSource() ? grid.DataSource()->DataSet() : nullptr;
        const int rows = data && data->Active() ? data->RecordCount() : 0;
        if (row > rows) fail(c, a[0] + " shows " + std::to_string(rows) + " row(s)");
        if (focusGrid(grid)) grid.UserSelectRow(row);
        break;
    }
    case Verb::Type: {
        auto& grid = find<tk::TDBGrid>(c, a[0], "grid");
        const std::u32string text = decodeUtf8(a[1]);
        if (!focusGrid(grid)) break;
        // Each keystroke is its own event: one dropped or failing does not stop the rest.
        for (char32_t ch : text) {
            guarded(app_, [&] { grid.UserType(ch); });
            if (ui_.failure()) break;
        }
        break;
    }
    case Verb::Key: {
        auto& grid = find<tk::TDBGrid>(c, a[0], "grid");
        const KeyStroke key = *keyStrokeOf(a[1]);
        if (focusGrid(grid)) grid.UserKey(key.vk, key.shift);
        break;
    }
    case Verb::Pick: {
        auto& grid = find<tk::TDBGrid>(c, a[0], "grid");
        if (!focusGrid(grid)) break;
        const int index = grid.SelectedIndex();
        if (index < 0 || index >= static_cast<int>(grid.Columns().size())) fail(c, a[0] + " has no selected column");
        const auto& pickList = grid.Columns()[static_cast<std::size_t>(index)].PickList;
        if (std::find(pickList.begin(), pickList.end(), a[1]) == pickList.end())
            fail(c, "'" + a[1] + "' is not in the pick list of " + a[0] + "." +
                        grid.Columns()[static_cast<std::size_t>(index)].FieldName);
        grid.UserPick(a[1]);
        break;
    }
    case Verb::Button: {
        auto& grid = find<tk::TDBGrid>(c, a[0], "grid");
        if (!focusGrid(grid)) break;
        if (!grid.ShowsEditButton())
            refused(grid.Name(), "no button");
        else
            grid.UserEditButton();
        break;
    }
    case Verb::Answer:
        ui_.queueAnswer(a[0] == "yes");
        break;
    case Verb::Search:
        ui_.queueSearch(a[0] == "cancel" ? std::nullopt : std::optional<int>(std::stoi(a[0])));
        break;
    case Verb::Show:
        out_ << renderDataSet(find<tk::TClientDataSet>(c, a[0], "data set"));
        break;
    case Verb::State:
        printState(requireScreen(c));
        break;
    case Verb::Wait:
        // The user is away: nothing runs in the meantime, as in a message loop left idle.
        std::this_thread::sleep_for(std::chrono::duration<double>(*waitSecondsOf(a[0])));
        break;
    case Verb::Module:
        out_ << "module: boIdCriado=" << (module_.created && module_.created() ? "true" : "false")
             << " forms=" << app_.Forms().size() << " cursor=" << app_.Cursor() << '\n';
        break;
    case Verb::Window: {
        tk::TForm& form = requireScreen(c);
        out_ << "window: " << form.Name() << ' ' << windowStateName(form.WindowState()) << ' '
             << (app_.ActiveForm() == &form ? "active" : "inactive") << '\n';
        break;
    }
    case Verb::Minimize:
        requireScreen(c).SetWindowState(tk::TWindowState::wsMinimized);
        break;
    case Verb::Maximize:
        requireScreen(c).SetWindowState(tk::TWindowState::wsMaximized);
        break;
    case Verb::Field: {
        auto& field = find<tk::TField>(c, a[0], "field");
        out_ << "field: " << field.Name() << " value=" << oneLine(wire::render(field.Value()))
             << " text=" << oneLine(field.Text()) << " mask=" << field.EditMask << '\n';
        break;
    }
    case Verb::Grid: {
        auto& grid = find<tk::TDBGrid>(c, a[0], "grid");
        tk::TField* field = grid.SelectedField();
        out_ << "grid: " << grid.Name() << " column=" << (field ? field->FieldName() : std::string())
             << " editor=" << oneLine(grid.EditorText()) << '\n';
        break;
    }
    case Verb::Simulate:
        simulate(c);
        break;
    case Verb::Check:
        check(c);
        break;
    case Verb::History:
        history(c);
        break;
    case Verb::Copy:
        copy(c);
        break;
    }
}

void ScriptPlayer::simulate(const ScriptCommand& c) {
    requireScreen(c);
    auto& server = find<fw::TNetConnection>(c, "NetComissao", "connection");
    const auto& a = c.args;
    Sale sale;
    try {
        sale = ReadSale(a[0], a[1], a[2], a[3], a[4], ReadEventTypes(fw::HostServices::Instance().LocalDatabase()));
    } catch (const InputError& e) {
        ui_.ShowMessageError(e.what());
        return;
    }
    out_ << SaleAnswerLines(AskSale(server, sale));
}

std::optional<double> ScriptPlayer::currentTable(const ScriptCommand& c, const char* refusal) {
    requireScreen(c);
    auto& tables = find<tk::TClientDataSet>(c, "cdsComissao", "data set");
    const tk::TField* nr = tables.Active() && !tables.IsEmpty() ? tables.FindField("NRCOMISSAOOREV") : nullptr;
    if (!nr || nr->IsNull()) {
        ui_.ShowMessageError(refusal);
        return std::nullopt;
    }
    return nr->AsFloat();
}

void ScriptPlayer::check(const ScriptCommand& c) {
    const auto table = currentTable(c, "Escolha uma tabela de comissão gravada para verificar.");
    if (!table) return;
    auto& server = find<fw::TNetConnection>(c, "NetComissao", "connection");
    out_ << FindingLines(*table, CheckTable(server, *table, ReadEventTypes(fw::HostServices::Instance().LocalDatabase())));
}

void ScriptPlayer::history(const ScriptCommand& c) {
    const auto table = currentTable(c, "Escolha uma tabela de comissão gravada para ver o histórico.");
    if (!table) return;
    out_ << HistoryLines(*table, AskHistory(find<fw::TNetConnection>(c, "NetComissao", "connection"), *table));
}

void ScriptPlayer::copy(const ScriptCommand& c) {
    const auto table = currentTable(c, "Escolha uma tabela de comissão gravada para copiar.");
    if (!table) return;
    TableCopyRequest request;
    try {
        request = ReadTableCopy(*table, c.args[0], c.args[1], c.args[2]);
    } catch (const InputError& e) {
        ui_.ShowMessageError(e.what());
        return;
    }
    const TableCopyAnswer made = AskTableCopy(find<fw::TNetConnection>(c, "NetComissao", "connection"), request);
    // The screen reads its tables again and stands on the new one.
    auto& refresh = find<tk::TSpeedButton>(c, "sbtVerificar", "toolbar button");
    if (!refresh.UserClick()) refused(refresh.Name());
    find<tk::TClientDataSet>(c, "cdsComissao", "data set").Locate("NRCOMISSAOOREV", {made.table}, 0);
    out_ << TableCopyLines(made);
}

void ScriptPlayer::printState(tk::TForm& form) {
    auto missing = [&](std::string_view name) { out_ << name << " missing\n"; };
    for (std::string_view name : kToolbar) {
        auto* button = dynamic_cast<tk::TSpeedButton*>(form.FindComponent(name));
        if (!button) { missing(name); continue; }
        out_ << name << (button->Enabled() ? " enabled" : " disabled") << '\n';
    }
    for (std::string_view name : kPages) {
        auto* page = dynamic_cast<tk::TTabSheet*>(form.FindComponent(name));
        if (!page) { missing(name); continue; }
        out_ << name << (page->Enabled() ? " enabled" : " disabled")
             << (page->PageControl().ActivePage() == page ? " active" : "") << '\n';
    }
    for (std::string_view name : kPageMenus) {
        auto* item = dynamic_cast<tk::TMenuItem*>(form.FindComponent(name));
        if (!item) { missing(name); continue; }
        out_ << name << (item->Enabled() ? " enabled" : " disabled") << (item->Checked() ? " checked" : "") << '\n';
    }
    tk::TControl* focus = form.ActiveControl();
    out_ << "focus: " << (focus ? focus->Name() : std::string("none")) << '\n';
}

}  // namespace host
