// Read-only query over the host's local database, usable wherever a data set is.
#pragma once
#include <string>
#include <vector>

#include "toolkit/tclientdataset.h"

namespace fw {

class TADOIBQuery : public tk::TClientDataSet {
public:
    class TParam {
    public:
        explicit TParam(std::string name) : name_(std::move(name)) {}
        const std::string& Name() const { return name_; }
        std::string AsString() const { return value_; }
        void SetAsString(std::string v) { value_ = std::move(v); }

    private:
        std::string name_;
        std::string value_;
    };

    TADOIBQuery(tk::TComponent* owner, std::string name);

    // Statement lines for each kind of database; the local SQLite database uses SQL.
    std::vector<std::string> SQL;
    std::vector<std::string> SQLOracle;
    std::vector<std::string> SQLMSSQL;
    // Names of the host's database module parts this query is bound to.
    std::string Connection = "dtmDBGeral.adcGeral";
    std::string Database = "dtmDBGeral.dtbGeral";
    std::string Transaction = "dtmDBGeral.ibtGeral";

    TParam& AddParam(std::string name);
    TParam& ParamByName(std::string_view name);  // throws tk::EDatabaseError when unknown

    // Runs SQL on the local database and loads the rows (first row current).
    void Open() override;

private:
    std::vector<TParam> params_;
};

}  // namespace fw
