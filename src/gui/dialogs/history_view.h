// Manutenção › Histórico: the changes of the current table, oldest first, a row each: when
// (local time), who, which list, which operation, the row before and after in the grids'
// column titles and formats.
#pragma once
#include <QWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "host/change_history.h"

class QLabel;
class QTableWidget;

namespace gui {

// One field of a row as the history keeps it: "NAME=value", texts between double quotes.
struct HistoryField {
    std::string name, value;
    bool text = false;  // the value was quoted (its escapes undone)
};
// The fields of "NAME=value; NAME=\"text\"; …"; a text may hold "; " and escaped quotes.
std::vector<HistoryField> ParseHistoryRow(const std::string& row);

// The UTC time the server keeps ("YYYY-MM-DDTHH:MM:SS") as local time, "dd/mm/aaaa hh:mm";
// any other text as it is.
QString HistoryLocalTime(const std::string& utc);

class HistoryView : public QWidget {
    Q_OBJECT

public:
    // The column title and the shown value of a list's field; nullptr: names and values
    // as kept.
    using Words = std::function<std::pair<std::string, std::string>(const std::string& list, const HistoryField&)>;
    explicit HistoryView(Words words = nullptr, QWidget* parent = nullptr);

    void setEntries(const QString& title, const std::vector<host::HistoryEntry>& entries);
    QTableWidget& table() { return *table_; }

private:
    QString rowText(const std::string& list, const std::string& row) const;

    Words words_;
    QLabel* title_;
    QTableWidget* table_;
};

}  // namespace gui
