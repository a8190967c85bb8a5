#include "gui/desktop/screen_status.h"

#include <QStatusBar>
#include <algorithm>
#include <variant>

#include "gui/desktop/action_loop.h"
#include "gui/desktop/data_set_watch.h"
#include "gui/desktop/form_view.h"
#include "gui/desktop/gui_user_interface.h"
#include "gui/desktop/screen_lookup.h"
#include "wire/texts.h"

namespace gui {
namespace {

// The lists whose posts are saved at once; the band lists last.
constexpr const char* kLists[] = {"cdsComissao",  "cdsCargo",      "cdsEvento",      "cdsPromocao",
                                  "cdsPercCargo", "cdsPercEvento", "cdsPercPromocao"};
constexpr std::size_t kFirstBandList = 4;
// The refusals of a band whose interval meets another's.
constexpr const char* kOverlaps[] = {wire::message("INTER_N_CONT"), wire::message("VALOR_<>")};

bool editing(tk::TDataSetState state) {
    return state == tk::TDataSetState::dsEdit || state == tk::TDataSetState::dsInsert;
}

int fieldIndex(const tk::TClientDataSet& set, const tk::TField* field) {
    const auto& fields = set.Fields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i] == field) return static_cast<int>(i);
    return -1;
}

}  // namespace

ScreenStatus* ScreenStatus::Attach(FormView& view, ActionLoop& loop, GuiUserInterface& ui, QStatusBar& status) {
    if (!view.form()) return nullptr;
    for (const char* name : kLists)
        if (!Named<tk::TClientDataSet>(*view.form(), name)) return nullptr;
    return new ScreenStatus(view, loop, ui, status);
}

ScreenStatus::ScreenStatus(FormView& view, ActionLoop& loop, GuiUserInterface& ui, QStatusBar& status)
    : QObject(&view), loop_(loop), ui_(ui), status_(&status) {
    setObjectName(QStringLiteral("screenStatus"));
    for (std::size_t i = 0; i < std::size(kLists); ++i) {
        tk::TClientDataSet* set = Named<tk::TClientDataSet>(*view.form(), kLists[i]);
        if (i >= kFirstBandList) bands_.push_back(set);
        states_.push_back(static_cast<int>(set->State()));
        lists_.push_back(std::make_unique<DataSetWatch>(*set, [this, i, set](tk::TDataEvent event) {
            if (event != tk::TDataEvent::StateChange) return;
            const auto before = static_cast<tk::TDataSetState>(states_[i]);
            states_[i] = static_cast<int>(set->State());
            // A post leaves the row in the change log, on its way to the server.
            if (editing(before) && set->State() == tk::TDataSetState::dsBrowse && set->ChangeCount() > 0) {
                posted_ = true;
                refusals_ = 0;
            }
        }));
    }
    ui_.onError = [this](const std::string& text) { refused(text); };
    afterActionId_ = loop_.AfterAction().subscribe([this] {
        bool sent = posted_ && refusals_ == 0;
        for (const auto& list : lists_) sent = sent && list->set().ChangeCount() == 0;
        posted_ = false;
        refusals_ = 0;
        if (sent && status_) status_->showMessage(QString::fromUtf8(kSaved), 5000);
    });
    connect(&view, &FormView::detaching, this, [this] { detach(); });
}

ScreenStatus::~ScreenStatus() { detach(); }

void ScreenStatus::detach() {
    if (!attached_) return;
    attached_ = false;
    ui_.onError = nullptr;
    loop_.AfterAction().unsubscribe(afterActionId_);
    lists_.clear();
    bands_.clear();
}

void ScreenStatus::refused(const std::string& text) {
    ++refusals_;
    if (!status_ || std::find(std::begin(kOverlaps), std::end(kOverlaps), text) == std::end(kOverlaps)) return;
    for (const tk::TClientDataSet* bands : bands_) {
        const std::string overlap = OverlapText(*bands);
        if (overlap.empty()) continue;
        status_->showMessage(QString::fromStdString(overlap));
        return;
    }
}

std::string ScreenStatus::OverlapText(const tk::TClientDataSet& bands) {
    const tk::TField* ini = bands.FindField("VRINICIAL");
    const tk::TField* fin = bands.FindField("VRFINAL");
    if (!ini || !fin || !editing(bands.State())) return {};
    const wire::Value from = ini->Value(), to = fin->Value();
    const double* a = std::get_if<double>(&from);
    const double* b = std::get_if<double>(&to);
    if (!a || !b) return {};
    const int iIni = fieldIndex(bands, ini), iFin = fieldIndex(bands, fin);
    for (int r = 1; r <= bands.RecordCount(); ++r) {
        if (r == bands.RecNo()) continue;
        const wire::Value otherFrom = bands.ValueAt(r, iIni), otherTo = bands.ValueAt(r, iFin);
        const double* c = std::get_if<double>(&otherFrom);
        const double* d = std::get_if<double>(&otherTo);
        if (c && d && *a <= *d && *b >= *c)
            return "A faixa informada sobrepõe a faixa de " + bands.DisplayTextAt(r, *ini) + " a " +
                   bands.DisplayTextAt(r, *fin) + ".";
    }
    return {};
}

}  // namespace gui
