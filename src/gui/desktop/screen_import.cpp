#include "gui/desktop/screen_import.h"

#include <QAction>
#include <QMdiArea>
#include <QMenu>

#include "framework/host_services.h"
#include "framework/tnetconnection.h"
#include "gui/desktop/action_loop.h"
#include "gui/desktop/form_view.h"
#include "gui/desktop/gui_user_interface.h"
#include "gui/desktop/screen_lookup.h"
#include "gui/dialogs/sheet_import_dialog.h"
#include "toolkit/tdbgrid.h"
#include "toolkit/tfield.h"
#include "toolkit/tpagecontrol.h"
#include "toolkit/tspeedbutton.h"

namespace gui {

ScreenImport* ScreenImport::Attach(FormView& view, QMdiArea& mdi, ActionLoop& loop, GuiUserInterface& ui) {
    if (!view.form() || !Named<fw::TNetConnection>(*view.form(), "NetComissao") ||
        !Named<tk::TClientDataSet>(*view.form(), "cdsComissao"))
        return nullptr;
    QAction* operation = view.action("mnuOperacao");
    if (!operation || !operation->menu()) return nullptr;
    return new ScreenImport(view, mdi, loop, ui);
}

ScreenImport::ScreenImport(FormView& view, QMdiArea& mdi, ActionLoop& loop, GuiUserInterface& ui)
    : QObject(&view), view_(&view), mdi_(mdi), loop_(loop), ui_(ui) {
    setObjectName(QStringLiteral("screenImport"));
    importAction_ = view.action("mnuOperacao")->menu()->addAction(QStringLiteral("I&mportar tabela…"), this,
                                                                 [this] { openImport(); });
    importAction_->setObjectName(QStringLiteral("mnuImportarTabela"));
    connect(&view, &FormView::detaching, this, [this] {
        view_ = nullptr;
        importAction_->setEnabled(false);
    });
}

void ScreenImport::openImport() {
    if (!view_) return;
    double current = 0;
    QString name;
    loop_.run([&] {
        const auto* tables = Named<tk::TClientDataSet>(*view_->form(), "cdsComissao");
        if (!tables->Active() || tables->IsEmpty()) return;
        const tk::TField* nr = tables->FindField("NRCOMISSAOOREV");
        const tk::TField* ds = tables->FindField("DSCOMISSAOOREV");
        if (nr && !nr->IsNull()) current = nr->AsFloat();
        if (ds) name = QString::fromStdString(ds->DisplayText());
    });
    auto ask = [this](host::SheetImportRequest request) {
        std::optional<host::SheetImportAnswer> answer;
        loop_.run([&] {
            if (!view_ || !view_->form()) return;
            request.branch = fw::Velmora::FiliProc();
            answer = host::AskSheetImport(*Named<fw::TNetConnection>(*view_->form(), "NetComissao"), request);
        });
        return answer;
    };
    SheetImportDialog dialog(current, name, ask, mdi_.window());
    if (ui_.runModal(dialog) != QDialog::Accepted || !dialog.imported()) return;
    const double table = *dialog.imported();
    // The screen reads its tables again and stands on the new one, as a user would get there.
    loop_.run([this, table] {
        if (!view_ || !view_->form()) return;
        tk::TForm& form = *view_->form();
        auto* pages = Named<tk::TPageControl>(form, "pgcPadrao");
        auto* first = Named<tk::TTabSheet>(form, "tshFolhaDados");
        if (pages && first && pages->ActivePage() != first && !pages->UserSelectTab(first)) return;
        if (auto* refresh = Named<tk::TSpeedButton>(form, "sbtVerificar"); !refresh || !refresh->UserClick()) return;
        auto* grid = Named<tk::TDBGrid>(form, "dbgPadrao");
        const int row = RowOf(*Named<tk::TClientDataSet>(form, "cdsComissao"), "NRCOMISSAOOREV", table);
        if (grid && row > 0) grid->UserSelectRow(row);
    });
}

}  // namespace gui
