// Manutenção › Verificar tabela: the findings of the current table, one a line; choosing
// one (double click or Enter) asks for the screen to be moved to it.
#pragma once
#include <QWidget>
#include <functional>
#include <vector>

#include "host/commission_questions.h"

class QLabel;
class QListWidget;

namespace gui {

class FindingsView : public QWidget {
    Q_OBJECT

public:
    explicit FindingsView(QWidget* parent = nullptr);

    void setFindings(const QString& title, std::vector<host::Finding> findings);
    const std::vector<host::Finding>& findings() const { return findings_; }
    QListWidget& list() { return *list_; }

    std::function<void(const host::Finding&)> onChosen;

private:
    QLabel* title_;
    QListWidget* list_;
    std::vector<host::Finding> findings_;
};

// The kind of a finding in the user's words ("Lacuna entre faixas").
QString FindingKindText(const std::string& kind);

}  // namespace gui
