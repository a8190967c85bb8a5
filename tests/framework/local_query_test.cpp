// Read-only queries over the host's local SQLite database.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

#include "framework/tadoibquery.h"
#include "framework/tlocaldatabase.h"
#include "framework_env.h"
#include "toolkit/exceptions.h"

namespace {

// A local database file with the event-type catalogue, removed at the end.
class LocalDbFile {
public:
    LocalDbFile() {
        static int counter = 0;
        path_ = (std::filesystem::temp_directory_path() /
                 ("fw_localdb_" + std::to_string(::getpid()) + "_" + std::to_string(++counter) + ".db"))
                    .string();
        sqlite3* db = nullptr;
        sqlite3_open(path_.c_str(), &db);
        const char* sql =
            "CREATE TABLE TIPOEVENTO(CDTIPOEVENTO TEXT, NMTIPOEVENTO TEXT, NRPESO REAL, DTCRIACAO TEXT);"
            "INSERT INTO TIPOEVENTO VALUES('002','Venda à vista',1.5,'2025-01-02');"
            "INSERT INTO TIPOEVENTO VALUES('001','Troca de titularidade de contrato antigo',2,'2025-03-04 10:20:30');"
            "INSERT INTO TIPOEVENTO VALUES('003',NULL,NULL,NULL);";
        char* error = nullptr;
        if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            std::string text = error ? error : "?";
            sqlite3_free(error);
            sqlite3_close(db);
            throw std::runtime_error(text);
        }
        sqlite3_close(db);
    }
    ~LocalDbFile() { std::filesystem::remove(path_); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::string rowsOf(tk::TClientDataSet& data) {
    std::string out;
    for (int r = 1; r <= data.RecordCount(); ++r) {
        for (std::size_t f = 0; f < data.Fields().size(); ++f)
            out += (f ? ";" : "") + wire::render(data.ValueAt(r, static_cast<int>(f)));
        out += "\n";
    }
    return out;
}

class LocalQueryTest : public ::testing::Test {
protected:
    LocalDbFile file;
    fwtest::FrameworkEnv env{fw::HostSettings{"127.0.0.1", 0, "0001", file.path()}};
};

TEST_F(LocalQueryTest, OpenLoadsTheRowsIntoTheDeclaredFields) {
    fw::TADOIBQuery qry(nullptr, "qryTipoEvento");
    tk::TField codigo(qry, "CDTIPOEVENTO", wire::FieldType::String, 3);
    tk::TField nome(qry, "NMTIPOEVENTO", wire::FieldType::String, 30);
    qry.SQL = {"SELECT CDTIPOEVENTO, NMTIPOEVENTO", "  FROM TIPOEVENTO", " ORDER BY CDTIPOEVENTO"};
    qry.Open();
    EXPECT_TRUE(qry.Active());
    EXPECT_EQ(qry.RecNo(), 1);
    // Names longer than the field are cut to its size; null stays null.
    EXPECT_EQ(rowsOf(qry), "001;Troca de titularidade de contr\n002;Venda à vista\n003;\n");
    qry.Close();
    EXPECT_FALSE(qry.Active());
}

TEST_F(LocalQueryTest, ParametersSelectTheRow) {
    fw::TADOIBQuery qry(nullptr, "qryVdTpEvento");
    tk::TField codigo(qry, "CDTIPOEVENTO", wire::FieldType::String, 3);
    tk::TField nome(qry, "NMTIPOEVENTO", wire::FieldType::String, 30);
    qry.SQL = {"SELECT CDTIPOEVENTO, NMTIPOEVENTO", "  FROM TIPOEVENTO", " WHERE CDTIPOEVENTO = :P_CDTIPOEVENTO"};
    qry.AddParam("P_CDTIPOEVENTO");
    qry.ParamByName("P_CDTIPOEVENTO").SetAsString("002");
    qry.Open();
    EXPECT_EQ(rowsOf(qry), "002;Venda à vista\n");
    qry.Close();
    qry.ParamByName("P_CDTIPOEVENTO").SetAsString("999");
    qry.Open();
    EXPECT_TRUE(qry.IsEmpty());
    EXPECT_THROW(qry.ParamByName("P_OUTRO"), tk::EDatabaseError);
}

TEST_F(LocalQueryTest, NumbersAndDatesConvertToTheFieldTypes) {
    fw::TADOIBQuery qry(nullptr, "qryTeste");
    tk::TField peso(qry, "NRPESO", wire::FieldType::Float);
    tk::TField data(qry, "DTCRIACAO", wire::FieldType::DateTime);
    qry.SQL = {"SELECT DTCRIACAO, NRPESO FROM TIPOEVENTO ORDER BY CDTIPOEVENTO"};
    qry.Open();
    EXPECT_EQ(rowsOf(qry), "2;2025-03-04T10:20:30\n1.5;2025-01-02\n;\n");
}

TEST_F(LocalQueryTest, AColumnMissingFromTheStatementIsAnError) {
    fw::TADOIBQuery qry(nullptr, "qryTeste");
    tk::TField codigo(qry, "CDTIPOEVENTO", wire::FieldType::String, 3);
    tk::TField nome(qry, "NMTIPOEVENTO", wire::FieldType::String, 30);
    qry.SQL = {"SELECT CDTIPOEVENTO FROM TIPOEVENTO WHERE 1 = 0"};
    EXPECT_THROW(qry.Open(), tk::EDatabaseError);
    EXPECT_FALSE(qry.Active());
}

TEST_F(LocalQueryTest, TheLocalDatabaseIsReadOnly) {
    auto& db = env.host.LocalDatabase();
    EXPECT_THROW(db.Query("DELETE FROM TIPOEVENTO", {}, {}), std::runtime_error);
    EXPECT_EQ(db.Query("SELECT COUNT(*) AS N FROM TIPOEVENTO", {}, {{"N", wire::FieldType::Float, 0}}).rows,
              (std::vector<wire::Row>{{3.0}}));
}

TEST(LocalDatabase, AMissingFileIsAClearError) {
    EXPECT_THROW(fw::TLocalDatabase("/nonexistent/dir/local.db"), std::runtime_error);
}

}  // namespace
