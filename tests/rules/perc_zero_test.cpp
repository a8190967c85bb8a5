// A zero percentage never passes a band's post, whatever control has the focus.
//
// The headless host cannot post a band while the rule grid has the focus (confirm is
// then disabled, and posting the rule reloads the bands), so this drives the screen's
// objects directly, without a server: the check must stop the post before anything asks one.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/framework_env.h"
#include "screen/tfrmcomissao.h"
#include "toolkit/exceptions.h"

namespace {

using wire::FieldType;

wire::DataPacket packetOf(const tk::TClientDataSet& data, std::vector<wire::Row> rows) {
    wire::DataPacket p;
    for (const tk::TField* f : data.Fields()) p.fields.push_back(f->Def());
    p.rows = std::move(rows);
    return p;
}

class PercZero : public ::testing::Test {
protected:
    void SetUp() override {
        // Nothing here talks to a server: page loads and band reloads are switched off.
        form.OnActivate = nullptr;
        form.pgcPadrao.OnChange = nullptr;
        form.cdsCargo.AfterScroll = nullptr;
        form.cdsComissao.SetData(packetOf(
            form.cdsComissao, {{1.0, std::string("Tabela"), wire::DateTime::fromYmd(2025, 1, 1),
                                wire::DateTime::fromYmd(2025, 12, 31), std::string("0001")}}));
        form.cdsCargo.SetData(packetOf(form.cdsCargo, {{4.0, std::string("V"), 1.0}}));
        form.cdsPercCargo.SetData(packetOf(form.cdsPercCargo, {}));
        form.Show();
        form.pgcPadrao.SetActivePage(&form.tshFormulario);
    }

    // A new band [10, 20] with the percentage `perc`, typed in the band grid.
    void newBand(double perc) {
        ASSERT_TRUE(form.dbgPercCargo.SetFocus());
        form.cdsPercCargo.Insert();
        form.cdsPercCargoVRINICIAL.SetAsFloat(10);
        form.cdsPercCargoVRFINAL.SetAsFloat(20);
        form.cdsPercCargoVRCOMISSAO.SetAsFloat(perc);
    }

    bool shown(const std::string& line) const {
        return std::find(env.ui.log.begin(), env.ui.log.end(), line) != env.ui.log.end();
    }

    fwtest::FrameworkEnv env;
    TfrmComissao form{nullptr};
};

TEST_F(PercZero, ABandPostedWithTheFocusOnTheRuleGridStillRefusesZero) {
    newBand(0.004);  // rounds to zero
    ASSERT_TRUE(form.dbgCargo.SetFocus());
    ASSERT_EQ(form.cdsPercCargo.State(), tk::TDataSetState::dsInsert);

    EXPECT_THROW(form.cdsPercCargo.Post(), tk::EAbort);

    EXPECT_TRUE(shown("message: Percentual de comissão deve ser maior que zero."))
        << ::testing::PrintToString(env.ui.log);
    EXPECT_EQ(form.cdsPercCargo.State(), tk::TDataSetState::dsInsert);
    EXPECT_EQ(form.cdsPercCargo.ChangeCount(), 0);
    EXPECT_EQ(form.ActiveControl(), &form.dbgPercCargo);
    ASSERT_NE(form.dbgPercCargo.SelectedField(), nullptr);
    EXPECT_EQ(form.dbgPercCargo.SelectedField()->FieldName(), "VRCOMISSAO");
}

TEST_F(PercZero, WithTheFocusOnTheBandGridTheFocusedListIsTested) {
    newBand(0);
    EXPECT_THROW(form.cdsPercCargo.Post(), tk::EAbort);
    EXPECT_TRUE(shown("message: Percentual de comissão deve ser maior que zero."));
    EXPECT_EQ(form.cdsPercCargo.State(), tk::TDataSetState::dsInsert);
    EXPECT_EQ(form.dbgPercCargo.SelectedField()->FieldName(), "VRCOMISSAO");
}

// The named check alone has no posted list to fall back on: away from the band grids it
// has nothing to test.
TEST_F(PercZero, TheNamedCheckTestsTheFocusedBandGridOnly) {
    newBand(0);
    EXPECT_THROW(form.Vd_PercZero(), tk::EAbort);
    ASSERT_TRUE(form.dbgCargo.SetFocus());
    env.ui.log.clear();
    EXPECT_NO_THROW(form.Vd_PercZero());
    EXPECT_TRUE(env.ui.log.empty());
}

}  // namespace
