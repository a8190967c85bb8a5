// Operação › Importar tabela…: a spreadsheet file into a new table or the current one while it
// has no rules; every refused line listed at once, or the table that was filled.
#pragma once
#include <QDialog>
#include <functional>
#include <optional>

#include "host/sheet_import.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace gui {

class SheetImportDialog : public QDialog {
    Q_OBJECT

public:
    // Asks the server; nullopt when the call failed (the failure has been shown).
    using Ask = std::function<std::optional<host::SheetImportAnswer>(const host::SheetImportRequest&)>;
    // `current`: the screen's stored table, offered as the target (0: none, only a new table).
    SheetImportDialog(double current, const QString& currentName, Ask ask, QWidget* parent);

    // Reads the file and the inputs and asks; input to correct is shown in place and nothing
    // is asked; refused lines fill the list; once stored the dialog is accepted.
    void runImport();
    // The table filled by an accepted import.
    std::optional<double> imported() const { return imported_; }

    QLineEdit& file() { return *file_; }
    QRadioButton& intoNew() { return *intoNew_; }
    QRadioButton& intoCurrent() { return *intoCurrent_; }
    QLineEdit& description() { return *description_; }
    QLineEdit& start() { return *start_; }
    QLineEdit& end() { return *end_; }
    QPushButton& importButton() { return *import_; }
    QLabel& status() { return *status_; }
    QListWidget& refused() { return *refused_; }

private:
    void chooseFile();

    double current_;
    Ask ask_;
    std::optional<double> imported_;
    QLineEdit* file_;
    QRadioButton* intoNew_;
    QRadioButton* intoCurrent_;
    QLineEdit* description_;
    QLineEdit* start_;
    QLineEdit* end_;
    QPushButton* import_;
    QLabel* status_;
    QListWidget* refused_;
};

}  // namespace gui
