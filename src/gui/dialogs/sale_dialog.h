// Manutenção › Simular venda…: the five inputs of a sale, and what it would earn and why.
#pragma once
#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/commission_questions.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace gui {

class SaleDialog : public QDialog {
    Q_OBJECT

public:
    // Asks the server; nullopt when the call failed (the failure has been shown).
    using Ask = std::function<std::optional<host::SaleAnswer>(const host::Sale&)>;
    // The words a user knows for an answer's table and band; empty texts where unknown
    // (the answer then names them by number).
    struct Words {
        std::string table;  // the table's description
        std::string band;   // "de 0,00 a 10.000,00"
    };
    using Describe = std::function<Words(const host::SaleAnswer&)>;
    // `positions`: code and text of each position, in the code table's order.
    SaleDialog(std::vector<host::EventType> catalogue, std::vector<std::pair<std::string, std::string>> positions,
               Ask ask, QWidget* parent, Describe describe = nullptr);

    // Reads the inputs and shows the answer; input the user must correct is shown in its
    // place, and nothing is asked.
    void simulate();

    QLineEdit& eventDate() { return *eventDate_; }
    QLineEdit& closingDate() { return *closingDate_; }
    QComboBox& eventType() { return *eventType_; }
    QComboBox& position() { return *position_; }
    QLineEdit& value() { return *value_; }
    QPushButton& simulateButton() { return *simulate_; }
    QLabel& answer() { return *answer_; }
    QListWidget& reasons() { return *reasons_; }

private:
    void showAnswer(const host::SaleAnswer& answer);

    std::vector<host::EventType> catalogue_;
    Ask ask_;
    Describe describe_;
    QLineEdit* eventDate_;
    QLineEdit* closingDate_;
    QComboBox* eventType_;
    QComboBox* position_;
    QLineEdit* value_;
    QPushButton* simulate_;
    QLabel* answer_;
    QListWidget* reasons_;
};

}  // namespace gui
