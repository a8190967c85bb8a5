// The desktop host built in-process around the loaded screen module, over a real
// application server (testsupport::ComissaoWorld); helpers that act through widget events.
#pragma once
#include <gtest/gtest.h>

#include <QDialog>
#include <QMessageBox>
#include <QSettings>
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
#include "gui/desktop/form_view.h"
#include "gui/desktop/grid_view.h"
#include "gui/desktop/gui_user_interface.h"
#include "gui/desktop/main_window.h"
#include "host/module_loader.h"
#include "support/comissao_world.h"
#include "support/test_paths.h"
#include "toolkit/tapplication.h"
#include "toolkit/tclientdataset.h"

namespace guitest {

using nlohmann::json;

// The desktop host over the common world: server, store seeding and catalogue.
class DesktopWorld : public testsupport::ComissaoWorld {
protected:
    DesktopWorld() : ComissaoWorld({{"001", "Venda"}, {"002", "Troca"}, {"003", "Garantia"}}) {}

    void SetUp() override {
        QSettings().clear();  // each test opens the desktop as a first run does
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
    // The value of a number field in the current row of one of the screen's data sets.
    double current(const char* dataSet, const char* field) {
        auto* set = dynamic_cast<tk::TClientDataSet*>(form().FindComponent(dataSet));
        if (!set) throw std::runtime_error(std::string("no data set ") + dataSet);
        return set->FieldByName(field).AsFloat();
    }
    static std::string cell(const gui::GridView& g, int row, const std::string& fieldName) {
        return g.model()->index(row, columnOf(g, fieldName)).data().toString().toStdString();
    }

    std::unique_ptr<fw::HostServices> services;
    std::unique_ptr<host::LoadedModule> module;
    std::unique_ptr<gui::GuiUserInterface> ui;
    std::unique_ptr<tk::TApplication> app;
    std::unique_ptr<gui::MainWindow> window;
    std::deque<Answer> answers;
    std::vector<std::string> shown;
};

}  // namespace guitest
