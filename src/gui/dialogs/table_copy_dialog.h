// Operação › Copiar tabela…: the new table's description and period, proposed from the
// current one; input the user must correct and refusals of the server are shown in place.
#pragma once
#include <QDialog>
#include <functional>

#include "host/commission_questions.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace gui {

class TableCopyDialog : public QDialog {
    Q_OBJECT

public:
    // Asks the server to copy; returns the refusal's text, empty when the copy was made.
    using Ask = std::function<std::string(const host::TableCopyRequest&)>;
    // `source`: the table copied; the texts are the proposals (dates dd/mm/aaaa).
    TableCopyDialog(double source, const QString& description, const QString& start, const QString& end, Ask ask,
                    QWidget* parent);

    // Reads the inputs and asks; accepts the dialog once the copy is made.
    void copy();

    QLineEdit& description() { return *description_; }
    QLineEdit& start() { return *start_; }
    QLineEdit& end() { return *end_; }
    QPushButton& copyButton() { return *copy_; }
    QLabel& problem() { return *problem_; }

private:
    double source_;
    Ask ask_;
    QLineEdit* description_;
    QLineEdit* start_;
    QLineEdit* end_;
    QPushButton* copy_;
    QLabel* problem_;
};

}  // namespace gui
