#include "gui/desktop/grid_view.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>

#include "toolkit/keys.h"
#include "toolkit/tform.h"

namespace gui {
namespace {

tk::TClientDataSet* dataSetOf(const tk::TDBGrid& grid) {
    return grid.DataSource() ? grid.DataSource()->DataSet() : nullptr;
}

tk::TShiftState shiftOf(Qt::KeyboardModifiers m) {
    tk::TShiftState s = 0;
    if (m & Qt::ShiftModifier) s |= tk::ssShift;
    if (m & Qt::ControlModifier) s |= tk::ssCtrl;
    if (m & Qt::AltModifier) s |= tk::ssAlt;
    return s;
}

// The toolkit's key for the keys a grid handles itself; 0 for the others.
std::uint16_t virtualKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return tk::VK_RETURN;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return tk::VK_TAB;
    case Qt::Key_Backspace: return tk::VK_BACK;
    case Qt::Key_Escape: return tk::VK_ESCAPE;
    case Qt::Key_Delete: return tk::VK_DELETE;
    case Qt::Key_Insert: return tk::VK_INSERT;
    case Qt::Key_Up: return tk::VK_UP;
    case Qt::Key_Down: return tk::VK_DOWN;
    case Qt::Key_Left: return tk::VK_LEFT;
    case Qt::Key_Right: return tk::VK_RIGHT;
    default: return 0;
    }
}

const tk::TColumn* selectedColumn(const tk::TDBGrid& grid) {
    const int index = grid.SelectedIndex();
    if (index < 0 || index >= static_cast<int>(grid.Columns().size())) return nullptr;
    return &grid.Columns()[static_cast<std::size_t>(index)];
}

bool showsPickList(const tk::TDBGrid& grid) {
    const tk::TColumn* column = selectedColumn(grid);
    if (!column || column->PickList.empty() || column->ReadOnly || grid.ReadOnly) return false;
    const tk::TField* field = column->Field();
    return !field || !field->ReadOnly;
}

// Shows `text` as the tooltip of the help event, or none when it is empty; the event is
// taken either way.
bool showToolTip(const QHelpEvent& event, const QString& text, QWidget& over) {
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event.globalPos(), text, &over);
    return true;
}

// Column titles cut short end in "…", whatever the style does with long titles.
class GridHeader : public QHeaderView {
public:
    explicit GridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, option, this);
        const int room = sectionSize(logicalIndex) - 2 * margin;
        option->text = option->fontMetrics.elidedText(option->text, Qt::ElideRight, room);
    }
};

// A pick list that takes type-ahead: the letters typed choose the next entry they begin
// (typing "S" stands on Supervisor), Enter picks it.
class PickMenu : public QMenu {
public:
    explicit PickMenu(QWidget* parent) : QMenu(parent) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const QString typed = event->text();
        if (typed.isEmpty() || !typed.at(0).isPrint() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            QMenu::keyPressEvent(event);
            return;
        }
        const QList<QAction*> entries = actions();
        const int from = static_cast<int>(entries.indexOf(activeAction()));
        for (int step = 1; step <= entries.size(); ++step) {
            QAction* entry = entries[(from + step) % entries.size()];
            if (entry->text().startsWith(typed, Qt::CaseInsensitive)) {
                setActiveAction(entry);
                return;
            }
        }
    }
};

}  // namespace

GridModel::GridModel(tk::TDBGrid& grid, QObject* parent) : QAbstractTableModel(parent), grid_(&grid) {}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!grid_ || !index.isValid()) return {};
    const auto& column = grid_->Columns()[static_cast<std::size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        try {
            return QString::fromStdString(grid_->CellText(index.row() + 1, index.column()));
        } catch (const std::exception&) {
            return {};  // a row the set no longer has: the next refresh drops it
        }
    case Qt::TextAlignmentRole: {
        const tk::TField* field = column.Field();
        const bool number = field && field->DataType() == wire::FieldType::Float;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    case Qt::BackgroundRole: {
        const tk::TField* field = column.Field();
        if (column.ReadOnly || (field && field->ReadOnly)) return QApplication::palette().window();
        return {};
    }
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!grid_ || role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= columns_) return {};
        return QString::fromStdString(grid_->Columns()[static_cast<std::size_t>(section)].TitleText());
    }
    // The row indicator: the current row, marked by what is happening to it.
    const tk::TClientDataSet* set = dataSetOf(*grid_);
    if (!set || !set->Active() || set->RecNo() != section + 1) return QString();
    switch (set->State()) {
    case tk::TDataSetState::dsInsert: return QStringLiteral("*");
    case tk::TDataSetState::dsEdit: return QStringLiteral("I");
    case tk::TDataSetState::dsBrowse:
    case tk::TDataSetState::dsInactive: break;
    }
    return QStringLiteral("\u25B6");
}

GridModel::Change GridModel::refresh() {
    const tk::TClientDataSet* set = grid_ ? dataSetOf(*grid_) : nullptr;
    const int rows = set && set->Active() ? set->RecordCount() : 0;
    const int columns = grid_ ? static_cast<int>(grid_->Columns().size()) : 0;
    const bool columnsChanged = columns != columns_;
    if (rows != rows_ || columnsChanged) {
        beginResetModel();
        rows_ = rows;
        columns_ = columns;
        endResetModel();
        return columnsChanged ? Change::Columns : Change::Rows;
    }
    if (rows_ > 0 && columns_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
    if (columns_ > 0) emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
    if (rows_ > 0) emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
    return Change::Cells;
}

void GridModel::detach() {
    beginResetModel();
    grid_ = nullptr;
    rows_ = columns_ = 0;
    endResetModel();
}

GridView::GridView(tk::TDBGrid& grid, ActionLoop& loop, QWidget* parent)
    : QTableView(parent),
      grid_(&grid),
      loop_(loop),
      model_(new GridModel(grid, this)),
      editButton_(new QToolButton(viewport())),
      pickButton_(new QToolButton(viewport())) {
    setObjectName(QString::fromStdString(grid.Name()));
    setHorizontalHeader(new GridHeader(this));
    setModel(model_);
    // Qt edits nothing itself: every key and click goes to the toolkit's grid.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setFocusPolicy(Qt::ClickFocus);
    // The toolkit's column widths are meant for a small dialog font.
    QFont small = font();
    if (small.pointSizeF() > 8) small.setPointSizeF(8);
    setFont(small);
    horizontalHeader()->setFont(small);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(small).height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumWidth(14);
    // Cut texts end in "…"; their tooltip shows them whole.
    setTextElideMode(Qt::ElideRight);

    editButton_->setObjectName(QStringLiteral("editButton"));
    editButton_->setText(QStringLiteral("\u2026"));
    pickButton_->setObjectName(QStringLiteral("pickButton"));
    pickButton_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {editButton_, pickButton_}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->hide();
    }
    connect(editButton_, &QToolButton::clicked, this, [this] {
        loop_.run([this] {
            if (grid_ && takeFocus()) grid_->UserEditButton();
        });
    });
    connect(pickButton_, &QToolButton::clicked, this, [this] { showPickList(); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { placeButtons(); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { placeButtons(); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        // A width the view did not set is the user's: later fitting leaves it alone.
        if (!fitting_ && column >= 0 && column < userSized_.size()) userSized_[column] = true;
        placeButtons();
    });

    installEventFilter(this);
    viewport()->installEventFilter(this);
    horizontalHeader()->viewport()->installEventFilter(this);
    changedId_ = grid.OnChanged().subscribe([this](tk::TComponent&) { sync(); });
    sync();
}

GridView::~GridView() { detach(); }

void GridView::detach() {
    if (!grid_) return;
    grid_->OnChanged().unsubscribe(changedId_);
    grid_ = nullptr;
    model_->detach();
    editButton_->hide();
    pickButton_->hide();
}

void GridView::sync() {
    if (!grid_) return;
    switch (model_->refresh()) {
    case GridModel::Change::Columns: fitColumns(true); break;
    case GridModel::Change::Rows: fitColumns(false); break;
    case GridModel::Change::Cells: break;
    }
    const auto& columns = grid_->Columns();
    for (std::size_t c = 0; c < columns.size(); ++c) setColumnHidden(static_cast<int>(c), !columns[c].Visible);
    setEnabled(grid_->Enabled());
    setVisible(grid_->Visible());

    const tk::TClientDataSet* set = dataSetOf(*grid_);
    const int row = set && set->Active() && !set->IsEmpty() ? set->RecNo() - 1 : -1;
    const QModelIndex current = model_->index(row, grid_->SelectedIndex());
    // The grid with the focus marks its cell; the others their whole row, in a paler colour.
    const bool focused = grid_->Focused();
    showFocusInColours(focused);
    if (current.isValid()) {
        selectionModel()->setCurrentIndex(current, focused ? QItemSelectionModel::ClearAndSelect
                                                           : QItemSelectionModel::ClearAndSelect |
                                                                 QItemSelectionModel::Rows);
        scrollTo(current);
    } else {
        selectionModel()->clear();
    }
    if (model_->rowCount() == 0) viewport()->update();  // the frame of the empty grid's focus
    placeButtons();
}

void GridView::fitColumns(bool reset) {
    if (!grid_) return;
    const auto& columns = grid_->Columns();
    const int count = static_cast<int>(columns.size());
    if (reset || userSized_.size() != count) userSized_ = QList<bool>(count, false);
    const QFontMetrics cells(font());
    const QFontMetrics titles(horizontalHeader()->font());
    const int cellMargin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 4;
    const int titleMargin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader()) + 4;
    const int rows = model_->rowCount();
    fitting_ = true;
    for (int c = 0; c < count; ++c) {
        if (userSized_[c]) continue;
        const tk::TColumn& column = columns[static_cast<std::size_t>(c)];
        int width = column.Width > 0 ? column.Width : tk::TDBGrid::kDefaultColumnWidth;
        width = std::max(width, titles.horizontalAdvance(QString::fromStdString(column.TitleText())) + titleMargin);
        // A drop-down's button covers the end of its cell.
        const int button = column.PickList.empty() ? 0 : verticalHeader()->defaultSectionSize();
        for (const auto& entry : column.PickList)
            width = std::max(width, cells.horizontalAdvance(QString::fromStdString(entry)) + cellMargin + button);
        for (int r = 0; r < rows; ++r)
            width = std::max(width, cells.horizontalAdvance(model_->index(r, c).data().toString()) + cellMargin + button);
        if (reset || width > columnWidth(c)) setColumnWidth(c, width);
    }
    fitting_ = false;
}

QList<int> GridView::columnWidths() const {
    QList<int> widths;
    for (int c = 0; c < model_->columnCount(); ++c) widths.append(columnWidth(c));
    return widths;
}

void GridView::setColumnWidths(const QList<int>& widths) {
    if (widths.size() != model_->columnCount()) return;
    fitting_ = true;
    userSized_ = QList<bool>(widths.size(), true);
    for (int c = 0; c < widths.size(); ++c)
        if (widths[c] > 0) setColumnWidth(c, widths[c]);
    fitting_ = false;
}

int GridView::heightForRows(int rows) const {
    return horizontalHeader()->sizeHint().height() + rows * verticalHeader()->defaultSectionSize() +
           2 * frameWidth() + horizontalScrollBar()->sizeHint().height();
}

void GridView::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (!grid_ || !grid_->Focused() || model_->rowCount() > 0) return;
    QPainter painter(viewport());
    const QColor mark = QApplication::palette(this).color(QPalette::Active, QPalette::Highlight);
    painter.setPen(QPen(mark, 2));
    painter.drawRect(viewport()->rect().adjusted(1, 1, -1, -1));
}

QColor GridView::inactiveRowColor(const QPalette& palette) {
    const QColor mark = palette.color(QPalette::Active, QPalette::Highlight);
    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    auto mix = [](int a, int b) { return (a * 3 + b * 7) / 10; };
    return QColor(mix(mark.red(), base.red()), mix(mark.green(), base.green()), mix(mark.blue(), base.blue()));
}

void GridView::showFocusInColours(bool focused) {
    const QPalette app = QApplication::palette(this);
    const QColor mark = focused ? app.color(QPalette::Active, QPalette::Highlight) : inactiveRowColor(app);
    const QColor text = app.color(QPalette::Active, focused ? QPalette::HighlightedText : QPalette::Text);
    QPalette shown = palette();
    if (shown.color(QPalette::Active, QPalette::Highlight) == mark &&
        shown.color(QPalette::Active, QPalette::HighlightedText) == text)
        return;
    // The same in both groups: it is the toolkit's focus that counts, not the window's.
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        shown.setColor(group, QPalette::Highlight, mark);
        shown.setColor(group, QPalette::HighlightedText, text);
    }
    setPalette(shown);
}

QString GridView::cellToolTip(const QModelIndex& index) const {
    if (!index.isValid()) return {};
    const QString text = index.data(Qt::DisplayRole).toString();
    // The item delegate keeps a margin each side of the text.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int room = columnWidth(index.column()) - 2 * margin;
    return QFontMetrics(font()).horizontalAdvance(text) > room ? text : QString();
}

QString GridView::headerToolTip(int column) const {
    if (column < 0 || column >= model_->columnCount()) return {};
    const QString text = model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    const QHeaderView& header = *horizontalHeader();
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
    const int room = header.sectionSize(column) - 2 * margin;
    return QFontMetrics(header.font()).elidedText(text, Qt::ElideRight, room) != text ? text : QString();
}

void GridView::placeButtons() {
    const bool focused = grid_ && grid_->Focused();
    const QModelIndex current = currentIndex();
    const QRect cell = current.isValid() ? visualRect(current) : QRect();
    const bool edit = focused && cell.isValid() && grid_->ShowsEditButton();
    const bool pick = focused && cell.isValid() && showsPickList(*grid_);
    const int side = cell.height();
    int right = cell.right() + 1;
    for (auto [button, shown] : {std::pair{editButton_, edit}, std::pair{pickButton_, pick}}) {
        if (!shown) {
            button->hide();
            continue;
        }
        right -= side;
        button->setGeometry(right, cell.top(), side, side);
        button->show();
    }
}

bool GridView::takeFocus() {
    if (grid_->Focused()) return true;
    if (!grid_->CanFocus()) return false;
    tk::TForm* form = grid_->ParentForm();
    return form && form->FocusControl(grid_);
}

void GridView::showPickList() {
    if (!grid_) return;
    const tk::TColumn* column = selectedColumn(*grid_);
    if (!column || column->PickList.empty()) return;
    PickMenu menu(this);
    menu.setObjectName(QStringLiteral("pickList"));
    const QString shown = currentIndex().data().toString();
    QAction* current = nullptr;
    for (const auto& entry : column->PickList) {
        QAction* action = menu.addAction(QString::fromStdString(entry));
        if (action->text() == shown) current = action;
    }
    // It opens on the cell's entry, over the cell as a drop-down list does; Enter keeps it.
    if (current) menu.setActiveAction(current);
    const QRect cell = visualRect(currentIndex());
    QAction* chosen = menu.exec(viewport()->mapToGlobal(current ? cell.topLeft() : cell.bottomLeft()), current);
    if (!chosen) return;
    const std::string text = chosen->text().toStdString();
    loop_.run([this, text] {
        if (grid_ && takeFocus()) grid_->UserPick(text);
    });
}

bool GridView::userKey(const QKeyEvent& event) {
    if (!grid_) return false;
    const tk::TShiftState shift = shiftOf(event.modifiers());
    // The keypad's decimal key gives the decimal comma, whatever the keyboard layout says.
    if ((event.modifiers() & Qt::KeypadModifier) && (event.key() == Qt::Key_Period || event.key() == Qt::Key_Comma)) {
        loop_.run([this] {
            if (takeFocus()) grid_->UserType(U',');
        });
        return true;
    }
    if (event.key() == Qt::Key_Down && (shift & tk::ssAlt)) {
        if (showsPickList(*grid_)) showPickList();
        return true;
    }
    if (const std::uint16_t vk = virtualKey(event.key())) {
        const tk::TShiftState s = event.key() == Qt::Key_Backtab ? (shift | tk::ssShift) : shift;
        loop_.run([this, vk, s] {
            if (takeFocus()) grid_->UserKey(vk, s);
        });
        return true;
    }
    if (shift & (tk::ssCtrl | tk::ssAlt)) return true;
    const QString text = event.text();
    if (text.isEmpty()) return true;
    // Each character is its own keystroke: a dropped or failing one does not stop the rest.
    for (char32_t ch : text.toUcs4()) {
        if (!QChar::isPrint(ch) || !grid_) continue;
        loop_.run([this, ch] {
            if (takeFocus()) grid_->UserType(ch);
        });
    }
    return true;
}

void GridView::mousePress(const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) return;
    const QModelIndex at = indexAt(event.position().toPoint());
    const int row = at.isValid() ? at.row() + 1 : 0;
    const int column = at.isValid() ? at.column() : -1;
    loop_.run([this, row, column] {
        if (!takeFocus() || row == 0) return;
        // A row move first, then the column, as a click on another row's cell does; an
        // abort on the way leaves the rest undone.
        const tk::TClientDataSet* set = dataSetOf(*grid_);
        if (set && set->RecNo() != row) grid_->UserSelectRow(row);
        if (grid_->SelectedIndex() != column) grid_->UserSelectColumn(column);
    });
}

bool GridView::eventFilter(QObject* watched, QEvent* event) {
    if (!grid_) return QTableView::eventFilter(watched, event);
    if (watched == this && event->type() == QEvent::KeyPress) return userKey(static_cast<QKeyEvent&>(*event));
    if (event->type() == QEvent::ToolTip) {
        auto& help = static_cast<QHelpEvent&>(*event);
        if (watched == viewport()) return showToolTip(help, cellToolTip(indexAt(help.pos())), *viewport());
        QHeaderView& header = *horizontalHeader();
        if (watched == header.viewport())
            return showToolTip(help, headerToolTip(header.logicalIndexAt(help.pos())), *header.viewport());
    }
    if (watched == viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            mousePress(static_cast<QMouseEvent&>(*event));
            return true;
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
            return true;
        default:
            break;
        }
    }
    return QTableView::eventFilter(watched, event);
}

}  // namespace gui
