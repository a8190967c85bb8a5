#include "rules/band_list.h"

#include <stdexcept>

#include "framework/consiste.h"
#include "rules/band_overlap.h"
#include "rules/comissao_form.h"
#include "toolkit/exceptions.h"
#include "wire/band_limits.h"

namespace rules {

namespace {

constexpr const char* kIni = "VRINICIAL";
constexpr const char* kFin = "VRFINAL";
constexpr const char* kPerc = "VRCOMISSAO";

// The edit text of the field shown in `grid`'s column for `fieldName`, as the checks read it.
std::string columnEditText(const tk::TDBGrid& grid, const std::string& fieldName) {
    const int index = fw::Consiste::IndiceCol(grid, fieldName);
    tk::TField* field = index < 0 ? nullptr : grid.Columns()[index].Field();
    if (!field) throw std::logic_error(grid.Name() + " shows no field " + fieldName);
    return field->GetEditText();
}

// Shows `text` and aborts; the focus then goes to `field`.
[[noreturn]] void failTextThenFocus(const std::string& text, tk::TField& field) {
    try {
        fw::Consiste::MensErro(text, true);
    } catch (...) {
        field.FocusControl();
        throw;
    }
    throw std::logic_error("MensErro returned without aborting");
}

// Shows the message of `key` and aborts; the focus then goes to `field`.
[[noreturn]] void failThenFocus(ComissaoForm& form, const char* key, tk::TField& field) {
    failTextThenFocus(form.msgPadrao.Msg(key), field);
}

void roundToCents(tk::TField& field) {
    if (!field.IsNull()) field.SetAsFloat(fw::Consiste::RoundDec(field.AsFloat(), 2));
}

BandInterval intervalOf(const tk::TClientDataSet& data) {
    return {data.FieldByName(kIni).AsFloat(), data.FieldByName(kFin).AsFloat(),
            data.FieldByName("NRFAIXACOMISSAOOREV").AsFloat()};
}

double currentRule(const BandList& b) { return b.ruleList.FieldByName(b.ruleField).AsFloat(); }

}  // namespace

tk::TClientDataSet* BandsOfGrid(ComissaoForm& form, const tk::TControl* grid) {
    if (grid == &form.dbgPercCargo) return &form.cdsPercCargo;
    if (grid == &form.dbgPercEvento) return &form.cdsPercEvento;
    if (grid == &form.dbgPercPromocao) return &form.cdsPercPromocao;
    return nullptr;
}

tk::TDBGrid* BandGridOfPage(ComissaoForm& form, const tk::TTabSheet* page) {
    if (page == &form.tshFormulario) return &form.dbgPercCargo;
    if (page == &form.tshEvento) return &form.dbgPercEvento;
    if (page == &form.tshPromocao) return &form.dbgPercPromocao;
    return nullptr;
}

void NewBand(ComissaoForm& form, const BandList& b) {
    if (b.bands.State() != tk::TDataSetState::dsInsert) return;
    b.bands.FieldByName("NRCOMISSAOOREV").SetAsFloat(form.NrComissao());
    b.bands.FieldByName(b.ruleField).SetAsFloat(currentRule(b));
    b.bands.FieldByName("IDTIPOCOMISSAO").SetAsString(b.scopeKind);
}

void BeforeInsertBand(const BandList& b) {
    // A band hangs under a stored rule. With none current (an empty rule list) every key
    // typed in the grid is dropped, and an insert however started is refused as silently.
    if (currentRule(b) == 0) tk::Abort();
    b.grid.SetSelectedIndex(fw::Consiste::IndiceCol(b.grid, kIni));
}

void AfterInsertBand(const BandList& b) { b.bands.FieldByName(kIni).FocusControl(); }

void BeforePostBand(ComissaoForm& form, const BandList& b) {
    // Every comparison below, and the re-positioning after the post, uses the values
    // the server will store.
    roundToCents(b.bands.FieldByName(kIni));
    roundToCents(b.bands.FieldByName(kFin));
    roundToCents(b.bands.FieldByName(kPerc));
    CheckVrIni(form, b, true);
    CheckVrFin(form, b, true);
    CheckVrPerc(form, b, true);
    CheckLimits(b);
    CheckPercZero(form, &b.bands);
    CheckOverlap(form, b);
}

void AfterPostBand(ComissaoForm& form, const BandList& b) {
    SendReloadLocate(
        form, b.bands, b.set,
        [&form, &b] { return form.rdmComissao.GetPercentual(form.NrComissao(), currentRule(b), b.scopeKind); },
        "VRINICIAL;VRFINAL;VRCOMISSAO");
}

void AfterCancelBand(const BandList& b) { b.bands.CancelUpdates(); }

void AfterDeleteBand(ComissaoForm& form, const BandList& b) { SendAfterDelete(form, b.bands, b.set); }

void CheckVrIni(ComissaoForm& form, const BandList& b, bool obrigatorio) {
    if (obrigatorio && fw::Consiste::EmptyString(columnEditText(b.grid, kIni)))
        failThenFocus(form, "VRINI_N", b.bands.FieldByName(kIni));
}

void CheckVrFin(ComissaoForm& form, const BandList& b, bool obrigatorio) {
    tk::TField& fin = b.bands.FieldByName(kFin);
    if (!fw::Consiste::EmptyString(columnEditText(b.grid, kFin))) {
        if (fin.AsFloat() < b.bands.FieldByName(kIni).AsFloat()) failThenFocus(form, "VRINI>VRFIN", fin);
    } else if (obrigatorio) {
        failThenFocus(form, "VRFIN_N", fin);
    }
}

void CheckVrPerc(ComissaoForm& form, const BandList& b, bool obrigatorio) {
    if (obrigatorio && fw::Consiste::EmptyString(columnEditText(b.grid, kPerc)))
        failThenFocus(form, "PERC_N", b.bands.FieldByName(kPerc));
}

void CheckLimits(const BandList& b) {
    for (const wire::BandLimit& limit : wire::kBandLimits) {
        tk::TField& field = b.bands.FieldByName(limit.field);
        if (!limit.holds(field.AsFloat())) failTextThenFocus(limit.refusal(), field);
    }
}

void CheckPercZero(ComissaoForm& form, tk::TClientDataSet* posted) {
    tk::TClientDataSet* bands = BandsOfGrid(form, form.ActiveControl());
    if (!bands) bands = posted;
    if (!bands) return;
    tk::TField& perc = bands->FieldByName(kPerc);
    if (perc.AsFloat() != 0) return;
    perc.FocusControl();
    fw::Consiste::MensErro(form.msgPadrao.Msg("PERC_ZERO"), true);
}

void CheckOverlap(ComissaoForm& form, const BandList& b) {
    tk::TField& ini = b.bands.FieldByName(kIni);
    try {
        const double rule = b.overlapRuleSource.FieldByName(b.ruleField).AsFloat();
        tk::TClientDataSet& stored = form.cdsVdVrPercentual;
        stored.SetData(fw::Consiste::CheckResultServ((form.rdmComissao.*b.overlapCheck)(form.NrComissao(), rule),
                                                     true, 0));
        stored.First();
        const BandInterval posted = intervalOf(b.bands);
        for (; !stored.Eof(); stored.Next()) {
            switch (ClassifyOverlap(posted, intervalOf(stored))) {
                case BandOverlap::None: continue;
                case BandOverlap::Contains: fw::Consiste::MensErro(form.msgPadrao.Msg("VALOR_<>"), true); break;
                case BandOverlap::Collides: fw::Consiste::MensErro(form.msgPadrao.Msg("INTER_N_CONT"), true); break;
            }
        }
    } catch (...) {
        ini.FocusControl();
        throw;
    }
}

}  // namespace rules
