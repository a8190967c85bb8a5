// Dialogs over a data set's rows: the search dialog (filterable list) and the find dialog.
#pragma once
#include <QDialog>
#include <vector>

class QComboBox;
class QLineEdit;
class QTableWidget;

namespace tk {
class TClientDataSet;
class TField;
}  // namespace tk

namespace gui {

// Lists every row of a data set (its visible fields); typing in the filter keeps the rows
// holding the text in any column (case-insensitive), Up and Down move among them, Enter
// or OK picks the selected row.
class SearchDialog : public QDialog {
    Q_OBJECT

public:
    SearchDialog(const tk::TClientDataSet& data, const QString& title, QWidget* parent);
    // The data set's row (1-based) of the selection when accepted; 0 when none.
    int chosenRecNo() const;
    QLineEdit& filter() { return *filter_; }
    QTableWidget& rows() { return *rows_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyFilter(const QString& text);
    QLineEdit* filter_;
    QTableWidget* rows_;
};

// Asks for a field and a text; the match is the next row after the current one (wrapping)
// whose display text of that field contains the text, case-insensitively.
class FindDialog : public QDialog {
    Q_OBJECT

public:
    FindDialog(const tk::TClientDataSet& data, QWidget* parent);
    // The matching row (1-based), or 0 when none holds the text.
    int nextMatch() const;
    QComboBox& field() { return *field_; }
    QLineEdit& text() { return *text_; }

private:
    const tk::TClientDataSet& data_;
    std::vector<const tk::TField*> fields_;
    QComboBox* field_;
    QLineEdit* text_;
};

}  // namespace gui
