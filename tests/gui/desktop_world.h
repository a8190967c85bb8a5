// A real application server, a local event-type catalogue and the desktop host built
// in-process around the loaded screen module; helpers that act through widget events.
#pragma once
#include <gtest/gtest.h>

#include <QDialog>
#include <QMessageBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <deque>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "framework/host_services.h"
#include "gui/form_view.h"
#include "gui/grid_view.h"
#include "gui/gui_user_interface.h"
#include "gui/main_window.h"
#include "host/module_loader.h"
#include "support/e2e_support.h"
#include "support/test_paths.h"
#include "toolkit/tapplication.h"

namespace guitest {

using nlohmann::json;

inline json field(const char* name, const char* type, int size = 0) {
    json f = {{"name", name}, {"type", type}};
    if (size) f["size"] = size;
    return f;
}

class DesktopWorld : public ::testing::Test {
protected:
    void SetUp() override {
        services = std::make_unique<fw::HostServices>(
            fw::HostSettings{"127.0.0.1", server.port(), "0001", catalogue.path()});
        fw::HostServices::SetInstance(services.get());
        module = std::make_unique<host::LoadedModule>(testsupport::binDir() + "/libktr52300.so");
        ui = std::make_unique<gui::GuiUserInterface>();
        ui->setDialogHook([this](QDialog& dialog) { answer(dialog); });
        app = std::make_unique<tk::TApplication>(*ui);
        tk::TApplication::SetInstance(app.get());
        window = std::make_unique<gui::MainWindow>(*app, *ui, module->bindings());
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // The module keeps its screen variables for the whole process: the screen is closed
    // (answering yes to any question) before the next test loads it again.
    void TearDown() override {
        if (gui::FormView* view = window->screenView(); view && view->form()) {
            answers.clear();
            for (int i = 0; i < 4; ++i) answers.push_back(yes());
            tk::TForm* form = view->form();
            window->loop().run([form] { form->Close(); });
        }
        window.reset();
        app.reset();
        tk::TApplication::SetInstance(nullptr);
        ui.reset();
        module.reset();
        fw::HostServices::SetInstance(nullptr);
        services.reset();
    }

    // --- dialogs -------------------------------------------------------------------------
    using Answer = std::function<void(QDialog&)>;
    static Answer yes() { return button(QMessageBox::Yes); }
    static Answer no() { return button(QMessageBox::No); }
    static Answer button(QMessageBox::StandardButton which) {
        return [which](QDialog& dialog) {
            auto* box = qobject_cast<QMessageBox*>(&dialog);
            ASSERT_NE(box, nullptr) << "expected a message box, got " << dialog.objectName().toStdString();
            QTest::mouseClick(box->button(which), Qt::LeftButton);
        };
    }

    // Every dialog is noted ("question: TEXT", "error: TEXT", or its name); questions and
    // other dialogs take the next queued answer, error boxes are acknowledged.
    void answer(QDialog& dialog) {
        auto* box = qobject_cast<QMessageBox*>(&dialog);
        const bool question = box && box->icon() == QMessageBox::Question;
        if (box)
            shown.push_back((question ? "question: " : "error: ") + box->text().toStdString());
        else
            shown.push_back(dialog.objectName().toStdString());
        if (box && !question) {
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            return;
        }
        if (answers.empty()) {
            ADD_FAILURE() << "no answer queued for " << shown.back();
            dialog.reject();
            return;
        }
        Answer next = std::move(answers.front());
        answers.pop_front();
        next(dialog);
    }

    std::vector<std::string> errors() const {
        std::vector<std::string> out;
        for (const auto& s : shown)
            if (s.rfind("error: ", 0) == 0) out.push_back(s.substr(7));
        return out;
    }

    // --- the screen, through its widgets -------------------------------------------------
    void openScreen() {
        window->openAction().trigger();
        ASSERT_NE(window->screenView(), nullptr);
    }
    gui::FormView& screen() { return *window->screenView(); }
    tk::TForm& form() { return *screen().form(); }
    gui::GridView& grid(const std::string& name) {
        gui::GridView* g = screen().grid(name);
        if (!g) throw std::runtime_error("no grid " + name);
        return *g;
    }
    QToolButton& toolButton(const std::string& name) {
        auto* b = qobject_cast<QToolButton*>(screen().widgetOf(name));
        if (!b) throw std::runtime_error("no tool button " + name);
        return *b;
    }
    void click(const std::string& button) { QTest::mouseClick(&toolButton(button), Qt::LeftButton); }
    bool enabled(const std::string& button) { return toolButton(button).isEnabled(); }

    void clickTab(const std::string& page) {
        QTabWidget& tabs = *screen().pages();
        const int index = tabs.indexOf(screen().widgetOf(page));
        ASSERT_GE(index, 0) << page;
        QTest::mouseClick(tabs.tabBar(), Qt::LeftButton, {}, tabs.tabBar()->tabRect(index).center());
    }
    // Clicks the cell of grid row `row` (0-based) showing `fieldName`.
    void clickCell(gui::GridView& g, int row, const std::string& fieldName) {
        const int column = columnOf(g, fieldName);
        const QRect cell = g.visualRect(g.model()->index(row, column));
        ASSERT_TRUE(cell.isValid()) << fieldName;
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, cell.center());
    }
    // Clicks the empty part of a grid, below its rows.
    void clickBelowRows(gui::GridView& g) {
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, QPoint(10, g.viewport()->height() - 5));
    }
    static int columnOf(const gui::GridView& g, const std::string& fieldName) {
        const auto& columns = g.grid()->Columns();
        for (std::size_t c = 0; c < columns.size(); ++c)
            if (columns[c].FieldName == fieldName) return static_cast<int>(c);
        throw std::runtime_error("no column " + fieldName);
    }
    static std::string cell(const gui::GridView& g, int row, const std::string& fieldName) {
        return g.model()->index(row, columnOf(g, fieldName)).data().toString().toStdString();
    }

    // --- the server ----------------------------------------------------------------------
    json rows(const std::string& method, const json& params) {
        return testsupport::rpcResult(server.port(), method, params).at("rows");
    }
    void insert(const std::string& setMethod, const json& fields, const json& row) {
        testsupport::rpcResult(server.port(), setMethod, json::array({testsupport::insertLog(fields, {row})}));
    }
    // A stored commission table (dates "YYYY-MM-DD"); returns its number.
    double seedComissao(const std::string& ds, const std::string& ini, const std::string& fin) {
        insert("SetComissao",
               {field("NRCOMISSAOOREV", "float"), field("DSCOMISSAOOREV", "string", 30),
                field("DTVALIDADEINI", "datetime"), field("DTVALIDADEFIN", "datetime"),
                field("CDFILIAL", "string", 4)},
               {nullptr, ds, ini + "T00:00:00", fin + "T00:00:00", "0001"});
        for (const auto& r : rows("GetComissao", json::array()))
            if (r.at(1) == ds) return r.at(0).get<double>();
        throw std::runtime_error("table not stored");
    }
    // A stored position rule of table `nr`; returns its number.
    double seedCargo(double nr, const char* code) {
        insert("SetCargo",
               {field("NRCOMISSAOCARGOOREV", "float"), field("IDCARGOVEND", "string", 1),
                field("NRCOMISSAOOREV", "float")},
               {nullptr, code, nr});
        for (const auto& r : rows("GetCargo", json::array({nr})))
            if (r.at(1) == code) return r.at(0).get<double>();
        throw std::runtime_error("rule not stored");
    }

    // A stored event-type rule of table `nr`; returns its number.
    double seedEvento(double nr, const char* code, const char* name, const char* cargo) {
        insert("SetEvento",
               {field("NRCOMISSAOTPEVENTOREV", "float"), field("NRCOMISSAOOREV", "float"),
                field("CDTIPOEVENTO", "string", 3), field("NMTIPOEVENTO", "string", 30),
                field("IDCARGOVEND", "string", 1)},
               {nullptr, nr, code, name, cargo});
        for (const auto& r : rows("GetEvento", json::array({nr})))
            if (r.at(2) == code && r.at(4) == cargo) return r.at(0).get<double>();
        throw std::runtime_error("rule not stored");
    }
    // A stored promotion rule of table `nr` (dates "YYYY-MM-DD"); returns its number.
    double seedPromocao(double nr, const std::string& ini, const std::string& fin, const char* base, const char* code,
                        const char* name, const char* cargo) {
        insert("SetPromocao",
               {field("NRCOMISSAOPROMOREV", "float"), field("NRCOMISSAOOREV", "float"),
                field("DTVALINICOMISPROMO", "datetime"), field("DTVALFINCOMISPROMO", "datetime"),
                field("IDDTBASECOMISPROMO", "string", 30), field("CDTIPOEVENTO", "string", 3),
                field("NMTIPOEVENTO", "string", 30), field("IDCARGOVEND", "string", 1),
                field("DTINCLUSAOCOMISSAO", "datetime")},
               {nullptr, nr, ini + "T00:00:00", fin + "T00:00:00", base, code, name, cargo, nullptr});
        for (const auto& r : rows("GetPromocao", json::array({nr})))
            if (r.at(2) == ini + "T00:00:00" && r.at(5) == code && r.at(7) == cargo) return r.at(0).get<double>();
        throw std::runtime_error("promotion not stored");
    }
    struct Band {
        double ini, fin, percent;
    };
    // Stored bands of rule `rule` of table `nr`, in one change log; `kind` is the scope kind.
    void seedBands(double nr, const std::string& kind, double rule, const std::vector<Band>& bands) {
        const char* set = kind == "CARGO" ? "SetPercCargo" : kind == "TIPOEVENTO" ? "SetPercEvento" : "SetPercPromocao";
        const int ruleAt = kind == "CARGO" ? 3 : kind == "TIPOEVENTO" ? 4 : 5;
        std::vector<json> rowsToInsert;
        for (const Band& b : bands) {
            json row = {nullptr, nr, kind, nullptr, nullptr, nullptr, b.ini, b.fin, b.percent};
            row[ruleAt] = rule;
            rowsToInsert.push_back(row);
        }
        testsupport::rpcResult(
            server.port(), set,
            json::array({testsupport::insertLog(
                {field("NRFAIXACOMISSAOOREV", "float"), field("NRCOMISSAOOREV", "float"),
                 field("IDTIPOCOMISSAO", "string", 30), field("NRCOMISSAOCARGOOREV", "float"),
                 field("NRCOMISSAOTPEVENTOREV", "float"), field("NRCOMISSAOPROMOREV", "float"),
                 field("VRINICIAL", "float"), field("VRFINAL", "float"), field("VRCOMISSAO", "float")},
                rowsToInsert)}));
    }

    testsupport::ServerProcess server;
    testsupport::LocalCatalogue catalogue{{{"001", "Venda"}, {"002", "Troca"}, {"003", "Garantia"}}};
    std::unique_ptr<fw::HostServices> services;
    std::unique_ptr<host::LoadedModule> module;
    std::unique_ptr<gui::GuiUserInterface> ui;
    std::unique_ptr<tk::TApplication> app;
    std::unique_ptr<gui::MainWindow> window;
    std::deque<Answer> answers;
    std::vector<std::string> shown;
};

}  // namespace guitest
