// The order of data-set events and state changes that screen handlers rely on.
#include <gtest/gtest.h>

#include <stdexcept>

#include "data_test_support.h"
#include "toolkit/exceptions.h"

namespace {

using namespace tk;
using tkdata::EventLog;

class DataSetEvents : public ::testing::Test, protected tkdata::Fixture {
protected:
    EventLog log{cds, &dts};
};

TEST_F(DataSetEvents, SetDataOpensOnFirstRowWithOneScroll) {
    cds.SetData(tkdata::threeRows());
    EXPECT_EQ(log.take(), "state:browse,AfterScroll");
    EXPECT_EQ(cds.RecNo(), 1);
    EXPECT_EQ(cds.RecordCount(), 3);
    EXPECT_FALSE(cds.Eof());

    cds.Next();
    cds.SetData(tkdata::threeRows());  // reload: closed and reopened, back on the first row
    EXPECT_EQ(log.take(), "AfterScroll,state:inactive,state:browse,AfterScroll");
    EXPECT_EQ(cds.RecNo(), 1);
}

TEST_F(DataSetEvents, SetDataOfEmptyPacketRunsNoScroll) {
    cds.SetData(tkdata::packet({}));
    EXPECT_EQ(log.take(), "state:browse");
    EXPECT_TRUE(cds.IsEmpty());
    EXPECT_TRUE(cds.Eof());
    EXPECT_EQ(cds.RecNo(), 0);
    EXPECT_TRUE(nr.IsNull());
}

TEST_F(DataSetEvents, InsertRunsEventsAroundTheBlankRow) {
    cds.SetData(tkdata::threeRows());
    cds.Next();
    log.take();
    cds.OnNewRecord = [&](TClientDataSet&) {
        log.add("OnNewRecord(" + std::string(stateName(cds.State())) + ")");
        name.SetAsString("novo");
    };
    cds.Insert();
    EXPECT_EQ(log.take(), "BeforeInsert,state:insert,OnNewRecord(insert),AfterInsert,AfterScroll");
    EXPECT_EQ(cds.RecNo(), 2);  // at the cursor
    EXPECT_EQ(cds.RecordCount(), 4);
    EXPECT_TRUE(nr.IsNull());
    EXPECT_EQ(name.AsString(), "novo");
    EXPECT_FALSE(cds.Modified());  // defaults are not the user's changes
}

TEST_F(DataSetEvents, AppendGoesToTheEnd) {
    cds.SetData(tkdata::threeRows());
    cds.Append();
    EXPECT_EQ(cds.RecNo(), 4);
    nr.SetAsFloat(9);
    cds.Post();
    EXPECT_EQ(tkdata::rows(cds), "1|Ana|2025-01-01; 2|Bruno|2025-02-01; 3|Carla|2025-03-01; 9||");
}

TEST_F(DataSetEvents, PostStoresBetweenBeforePostAndAfterPost) {
    cds.SetData(tkdata::threeRows());
    cds.Insert();
    nr.SetAsFloat(7);
    log.take();
    cds.BeforePost = [&](TClientDataSet&) {
        log.add("BeforePost(" + std::string(stateName(cds.State())) + "," + std::to_string(cds.ChangeCount()) + ")");
    };
    cds.AfterPost = [&](TClientDataSet&) {
        log.add("AfterPost(" + std::string(stateName(cds.State())) + "," + std::to_string(cds.ChangeCount()) + ")");
    };
    cds.Post();
    EXPECT_EQ(log.take(), "BeforePost(insert,0),state:browse,AfterPost(browse,1)");
}

TEST_F(DataSetEvents, ExceptionInBeforePostLeavesTheRowInItsState) {
    cds.SetData(tkdata::threeRows());
    cds.Edit();
    name.SetAsString("Outro");
    cds.BeforePost = [](TClientDataSet&) { throw std::runtime_error("check failed"); };
    EXPECT_THROW(cds.Post(), std::runtime_error);
    EXPECT_EQ(cds.State(), TDataSetState::dsEdit);
    EXPECT_EQ(name.AsString(), "Outro");
    EXPECT_EQ(cds.ChangeCount(), 0);

    cds.BeforePost = [](TClientDataSet&) { Abort(); };
    cds.Cancel();
    cds.Insert();
    EXPECT_THROW(cds.Post(), EAbort);
    EXPECT_EQ(cds.State(), TDataSetState::dsInsert);
    EXPECT_EQ(cds.RecordCount(), 4);
}

TEST_F(DataSetEvents, PostAsksLinksToWritePendingEditsFirst) {
    struct PendingEditor : TDataLink {
        TField* field = nullptr;
        void DataEvent(TDataEvent e, TField*) override {
            if (e == TDataEvent::UpdateRecord) field->SetText("typed");
        }
    } editor;
    editor.field = &name;
    dts.AddLink(&editor);
    cds.SetData(tkdata::threeRows());
    cds.Edit();
    std::string seenInBeforePost;
    cds.BeforePost = [&](TClientDataSet&) { seenInBeforePost = name.AsString(); };
    cds.Post();
    EXPECT_EQ(seenInBeforePost, "typed");
    dts.RemoveLink(&editor);
}

TEST_F(DataSetEvents, CancelOfAnEditRestoresWithoutScroll) {
    cds.SetData(tkdata::threeRows());
    log.take();
    cds.Edit();
    name.SetAsString("Zeca");
    cds.Cancel();
    EXPECT_EQ(log.take(), "BeforeEdit,state:edit,AfterEdit,state:browse,AfterCancel");
    EXPECT_EQ(name.AsString(), "Ana");
}

TEST_F(DataSetEvents, CancelOfAnInsertScrollsBackToThePreviousRow) {
    cds.SetData(tkdata::threeRows());
    cds.Last();
    cds.Append();
    log.take();
    cds.Cancel();
    EXPECT_EQ(log.take(), "state:browse,AfterCancel,AfterScroll");
    EXPECT_EQ(cds.RecordCount(), 3);
    EXPECT_EQ(cds.RecNo(), 3);
    EXPECT_EQ(cds.ChangeCount(), 0);
}

TEST_F(DataSetEvents, CancelInBrowseDoesNothing) {
    cds.SetData(tkdata::threeRows());
    log.take();
    cds.Cancel();
    EXPECT_EQ(log.take(), "");
}

TEST_F(DataSetEvents, DeleteRemovesTheRowThenScrolls) {
    cds.SetData(tkdata::threeRows());
    cds.Next();
    log.take();
    cds.Delete();
    EXPECT_EQ(log.take(), "BeforeDelete,AfterDelete,AfterScroll");
    EXPECT_EQ(cds.RecNo(), 2);
    EXPECT_EQ(name.AsString(), "Carla");
    cds.Delete();
    EXPECT_EQ(cds.RecNo(), 1);  // the last row went: the cursor steps back
    cds.Delete();
    EXPECT_TRUE(cds.IsEmpty());
    EXPECT_THROW(cds.Delete(), EDatabaseError);
}

TEST_F(DataSetEvents, DeleteOfAnInsertCancelsIt) {
    cds.SetData(tkdata::threeRows());
    cds.Insert();
    log.take();
    cds.Delete();
    EXPECT_EQ(log.take(), "state:browse,AfterCancel,AfterScroll");
    EXPECT_EQ(cds.RecordCount(), 3);
    EXPECT_EQ(cds.ChangeCount(), 0);
}

TEST_F(DataSetEvents, DeleteInEditDropsTheEditAndLogsTheStoredRow) {
    cds.SetData(tkdata::threeRows());
    cds.Edit();
    name.SetAsString("Zeca");
    cds.Delete();
    EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(tkdata::render(cds.Delta()), "delete old=1|Ana|2025-01-01");
}

TEST_F(DataSetEvents, EditOnAnEmptySetAppends) {
    cds.SetData(tkdata::packet({}));
    log.take();
    cds.Edit();
    EXPECT_EQ(log.take(), "BeforeInsert,state:insert,OnNewRecord,AfterInsert,AfterScroll");
    EXPECT_FALSE(cds.IsEmpty());  // the row being inserted counts
    EXPECT_EQ(cds.RecordCount(), 1);
}

TEST_F(DataSetEvents, MovesCheckBrowseModeThenScroll) {
    cds.SetData(tkdata::threeRows());
    cds.Edit();
    name.SetAsString("Ana Maria");
    log.take();
    cds.Next();  // a modified edit is posted before the move
    EXPECT_EQ(log.take(), "BeforePost,state:browse,AfterPost,AfterScroll");
    EXPECT_EQ(tkdata::rows(cds), "1|Ana Maria|2025-01-01; 2|Bruno|2025-02-01; 3|Carla|2025-03-01");

    cds.Insert();  // untouched but for its defaults: cancelled by the browse check
    cds.OnNewRecord = nullptr;
    log.take();
    cds.First();
    EXPECT_EQ(log.take(), "state:browse,AfterCancel,AfterScroll,AfterScroll");
    EXPECT_EQ(cds.RecordCount(), 3);
}

TEST_F(DataSetEvents, UntouchedInsertWithDefaultsIsCancelledByBrowseCheck) {
    cds.SetData(tkdata::threeRows());
    cds.OnNewRecord = [&](TClientDataSet&) { nr.SetAsFloat(42); };
    cds.Insert();
    cds.CheckBrowseMode();
    EXPECT_EQ(cds.RecordCount(), 3);
    EXPECT_EQ(cds.ChangeCount(), 0);
}

TEST_F(DataSetEvents, EofAfterNextOnLastRow) {
    cds.SetData(tkdata::threeRows());
    std::string seen;
    for (cds.First(); !cds.Eof(); cds.Next()) seen += name.AsString() + ",";
    EXPECT_EQ(seen, "Ana,Bruno,Carla,");
    EXPECT_EQ(cds.RecNo(), 3);
}

TEST_F(DataSetEvents, LocateScrollsOnlyWhenFound) {
    cds.SetData(tkdata::threeRows());
    log.take();
    EXPECT_TRUE(cds.Locate("NR", {3.0}, 0));
    EXPECT_EQ(log.take(), "AfterScroll");
    EXPECT_EQ(cds.RecNo(), 3);
    EXPECT_FALSE(cds.Locate("NR", {8.0}, 0));
    EXPECT_EQ(log.take(), "");
    EXPECT_EQ(cds.RecNo(), 3);
}

// Handlers that follow the current row (a band reload) must run even when it stays.
TEST_F(DataSetEvents, LocateOfTheCurrentRowAndFirstOnTheFirstRowStillScroll) {
    cds.SetData(tkdata::threeRows());
    log.take();
    EXPECT_TRUE(cds.Locate("NR", {1.0}, 0));
    cds.First();
    EXPECT_EQ(log.take(), "AfterScroll,AfterScroll");
    EXPECT_EQ(cds.RecNo(), 1);
}

TEST_F(DataSetEvents, OperationsOnAClosedSetFail) {
    EXPECT_THROW(cds.Insert(), EDatabaseError);
    EXPECT_THROW(cds.First(), EDatabaseError);
    EXPECT_TRUE(cds.IsEmpty());
    EXPECT_TRUE(nr.IsNull());
}

TEST_F(DataSetEvents, OpenAndCloseKeepLoadedRows) {
    cds.Open();
    EXPECT_EQ(log.take(), "state:browse");
    EXPECT_TRUE(cds.IsEmpty());
    cds.SetData(tkdata::threeRows());
    cds.Close();
    EXPECT_EQ(cds.State(), TDataSetState::dsInactive);
    log.take();
    cds.Open();
    EXPECT_EQ(log.take(), "state:browse,AfterScroll");
    EXPECT_EQ(cds.RecordCount(), 3);
}

class SetDataFields : public ::testing::Test, protected tkdata::Fixture {};

TEST_F(SetDataFields, MissingPersistentFieldIsRefusedAndSetUnchanged) {
    cds.SetData(tkdata::threeRows());
    cds.Next();
    wire::DataPacket p{{{"NR", wire::FieldType::Float, 0}, {"NAME", wire::FieldType::String, 10}}, {}};
    try {
        cds.SetData(p);
        FAIL() << "accepted a packet without DT";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("DT"), std::string::npos) << e.what();
    }
    EXPECT_EQ(cds.RecordCount(), 3);
    EXPECT_EQ(cds.RecNo(), 2);
    EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
}

TEST_F(SetDataFields, FieldOfAnotherTypeIsRefused) {
    auto p = tkdata::threeRows();
    p.fields[0].type = wire::FieldType::String;
    for (auto& r : p.rows) r[0] = std::string("x");
    try {
        cds.SetData(p);
        FAIL() << "accepted NR as a string";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("NR"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(cds.Active());
}

TEST_F(SetDataFields, ValueOfTheWrongTypeIsRefused) {
    auto p = tkdata::threeRows();
    p.rows[1][2] = std::string("2025-01-01");
    EXPECT_THROW(cds.SetData(p), EDatabaseError);
    p = tkdata::threeRows();
    p.rows[2].pop_back();
    EXPECT_THROW(cds.SetData(p), EDatabaseError);
}

TEST_F(SetDataFields, PacketColumnsAreMatchedByNameAndLongTextsCut) {
    wire::DataPacket p{{{"DT", wire::FieldType::DateTime, 0},
                        {"EXTRA", wire::FieldType::Float, 0},
                        {"NAME", wire::FieldType::String, 40},
                        {"NR", wire::FieldType::Float, 0}},
                       {{tkdata::ymd(2024, 5, 6), 1.0, std::string("Um nome bem comprido"), 5.0}}};
    cds.SetData(p);
    EXPECT_EQ(tkdata::rows(cds), "5|Um nome be|2024-05-06");
    EXPECT_EQ(cds.Delta().fields, tkdata::defs());
}

TEST(SetDataDynamicFields, SetWithoutPersistentFieldsTakesThePacketsFields) {
    TComponent owner{nullptr, "frm"};
    TClientDataSet cds{&owner, "cdsVd"};
    cds.SetData(tkdata::threeRows());
    ASSERT_EQ(cds.Fields().size(), 3u);
    EXPECT_EQ(cds.FieldByName("NAME").Size(), 10);
    EXPECT_EQ(cds.FieldByName("NAME").Name(), "cdsVdNAME");
    EXPECT_EQ(cds.FieldByName("DT").AsDateTime(), tkdata::ymd(2025, 1, 1));
    EXPECT_EQ(cds.FindField("nope"), nullptr);
    EXPECT_THROW(cds.FieldByName("nope"), EDatabaseError);

    wire::DataPacket other{{{"QTD", wire::FieldType::Float, 0}}, {{2.0}, {3.0}}};
    cds.SetData(other);
    ASSERT_EQ(cds.Fields().size(), 1u);
    EXPECT_EQ(cds.FieldByName("QTD").AsFloat(), 2.0);
    EXPECT_EQ(cds.GetData(), other);
}

TEST(DataSourceState, ReportsEveryStateChangeAndFollowsItsSet) {
    TComponent owner{nullptr, "frm"};
    TClientDataSet a{&owner, "a"};
    TDataSource dts{&owner, "dts"};
    EXPECT_EQ(dts.State(), TDataSetState::dsInactive);
    std::string states;
    dts.OnStateChange = [&](TObject&) { states += std::string(stateName(dts.State())) + ","; };
    a.SetData(tkdata::threeRows());
    dts.SetDataSet(&a);
    EXPECT_EQ(states, "browse,");
    a.Edit();
    a.Fields()[1]->SetAsString("x");
    a.Post();
    a.Close();
    EXPECT_EQ(states, "browse,edit,browse,inactive,");
    EXPECT_FALSE(dts.Editing());
}

TEST(DataSourceState, SourceOutlivingItsSetIsDetached) {
    TComponent owner{nullptr, "frm"};
    TDataSource dts{&owner, "dts"};
    {
        TClientDataSet a{&owner, "a"};
        dts.SetDataSet(&a);
        a.Open();
        EXPECT_EQ(dts.State(), TDataSetState::dsBrowse);
    }
    EXPECT_EQ(dts.DataSet(), nullptr);
    EXPECT_EQ(dts.State(), TDataSetState::dsInactive);
}

TEST(FocusControl, AsksTheLinksOfEverySourceUntilOneShowsTheField) {
    tkdata::Fixture f;
    tk::TDataSource second{&f.owner, "dts2", &f.cds};
    struct Grid : TDataLink {
        Grid(std::string n, bool s, std::string* t) : name(std::move(n)), shows(s), trace(t) {}
        std::string name;
        bool shows;
        std::string* trace;
        void DataEvent(TDataEvent, TField*) override {}
        bool FocusField(TField& field) override {
            *trace += name + ":" + field.FieldName() + ",";
            return shows;
        }
    };
    std::string trace;
    Grid hidden{"hidden", false, &trace};
    Grid shown{"shown", true, &trace};
    Grid never{"never", true, &trace};
    f.dts.AddLink(&hidden);
    second.AddLink(&shown);
    second.AddLink(&never);
    f.name.FocusControl();
    EXPECT_EQ(trace, "hidden:NAME,shown:NAME,");
}

}  // namespace
