// A data-aware grid of the toolkit shown as a table: the toolkit keeps the rows, the
// selected cell and the editor; this widget draws them and hands it every key and click.
#pragma once
#include <QAbstractTableModel>
#include <QList>
#include <QTableView>

#include "gui/desktop/action_loop.h"
#include "toolkit/tdbgrid.h"

class QToolButton;

namespace gui {

// The grid's cells as the toolkit shows them (CellText: display text, or the editor's
// text in the cell being edited), column titles from the fields' labels.
class GridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    GridModel(tk::TDBGrid& grid, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // What a refresh found changed: the view lays columns out again, or fits them to new rows.
    enum class Change { Cells, Rows, Columns };
    // Re-reads the grid.
    Change refresh();
    // Forgets the grid (its form is going away); the model turns empty.
    void detach();

private:
    tk::TDBGrid* grid_;
    int rows_ = 0;
    int columns_ = 0;
};

class GridView : public QTableView {
    Q_OBJECT

public:
    GridView(tk::TDBGrid& grid, ActionLoop& loop, QWidget* parent);
    ~GridView() override;

    tk::TDBGrid* grid() const { return grid_; }
    // Stops listening to the grid; called before its form is destroyed.
    void detach();
    // Re-reads columns, rows, the selected cell and the cell buttons from the toolkit.
    void sync();

    // Widens every column to its title and its longest text (never below the toolkit's
    // width); `reset`: also the columns the user sized, back to the fitted width.
    void fitColumns(bool reset);
    QList<int> columnWidths() const;
    // Widths as the user left them (a list of another length is ignored); kept from fitting.
    void setColumnWidths(const QList<int>& widths);
    // The height that shows the column titles and `rows` rows whole, a horizontal scroll
    // bar included.
    int heightForRows(int rows) const;

    // The ellipsis button and the pick-list drop-down of the selected cell (shown when the
    // grid has the focus and the column has one).
    QToolButton& editButton() const { return *editButton_; }
    QToolButton& pickButton() const { return *pickButton_; }

    // Hands a key press to the toolkit's grid, as the widget's own key handling does;
    // true when it was taken.
    bool userKey(const QKeyEvent& event);

    // The whole text of a cell or column title that is shown cut short ("…"); empty when
    // it fits. Shown as the tooltip of the cell or title.
    QString cellToolTip(const QModelIndex& index) const;
    QString headerToolTip(int column) const;
    // The colour of the current row of a grid without the focus: the user still sees which
    // row the toolbar's commands would act on.
    static QColor inactiveRowColor(const QPalette& palette);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // An empty grid with the focus says so with a frame in the selection colour.
    void paintEvent(QPaintEvent* event) override;

private:
    bool takeFocus();
    void showFocusInColours(bool focused);
    void mousePress(const QMouseEvent& event);
    void showPickList();
    void placeButtons();

    tk::TDBGrid* grid_;
    ActionLoop& loop_;
    GridModel* model_;
    QToolButton* editButton_;
    QToolButton* pickButton_;
    int changedId_ = 0;
    QList<bool> userSized_;  // a column's width set by the user (a drag, or kept from a run)
    bool fitting_ = false;   // the widths being set are the view's own
};

}  // namespace gui
