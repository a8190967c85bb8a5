// Manutenção › Histórico: the changes of the current table, oldest first, a row each: when
// (UTC), who, which list, which operation, the row before and after.
#pragma once
#include <QWidget>
#include <vector>

#include "host/change_history.h"

class QLabel;
class QTableWidget;

namespace gui {

class HistoryView : public QWidget {
    Q_OBJECT

public:
    explicit HistoryView(QWidget* parent = nullptr);

    void setEntries(const QString& title, const std::vector<host::HistoryEntry>& entries);
    QTableWidget& table() { return *table_; }

private:
    QLabel* title_;
    QTableWidget* table_;
};

}  // namespace gui
