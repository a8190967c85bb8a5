// The module's entry point and exported variables, the only symbols the host sees.
#include "screen/module_exports.h"
#include "screen/tfrmcomissao.h"
#include "toolkit/tapplication.h"

#define KTR_EXPORT __attribute__((visibility("default")))

extern "C" {
KTR_EXPORT TfrmComissao* frmComissao = nullptr;
KTR_EXPORT bool boIdCriado = false;

KTR_EXPORT void IniProc() {
    auto& app = tk::TApplication::Instance();
    app.SetCursor(tk::crHourGlass);
    // The default cursor comes back on every way out, failures included.
    struct RestoreCursor {
        tk::TApplication& app;
        ~RestoreCursor() { app.SetCursor(tk::crDefault); }
    } restore{app};

    if (!boIdCriado) {
        frmComissao = &app.CreateForm<TfrmComissao>();
        boIdCriado = true;
    }
    frmComissao->Show();
    frmComissao->SetWindowState(tk::TWindowState::wsNormal);
}
}
