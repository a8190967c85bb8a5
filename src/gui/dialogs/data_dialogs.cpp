#include "gui/dialogs/data_dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "toolkit/tclientdataset.h"

namespace gui {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

std::vector<const tk::TField*> visibleFields(const tk::TClientDataSet& data) {
    std::vector<const tk::TField*> out;
    for (const tk::TField* f : data.Fields())
        if (f->Visible) out.push_back(f);
    return out;
}

QString labelOf(const tk::TField& f) { return qs(f.DisplayLabel.empty() ? f.FieldName() : f.DisplayLabel); }

QDialogButtonBox* okCancel(QDialog& dialog, const QString& okText) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(okText);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

}  // namespace

SearchDialog::SearchDialog(const tk::TClientDataSet& data, const QString& title, QWidget* parent)
    : QDialog(parent), filter_(new QLineEdit(this)), rows_(new QTableWidget(this)) {
    setObjectName(QStringLiteral("search"));
    setWindowTitle(title);
    filter_->setObjectName(QStringLiteral("filter"));
    filter_->setPlaceholderText(QStringLiteral("Filtrar"));
    rows_->setObjectName(QStringLiteral("rows"));

    const auto fields = visibleFields(data);
    const int count = data.Active() ? data.RecordCount() : 0;
    rows_->setColumnCount(static_cast<int>(fields.size()));
    rows_->setRowCount(count);
    QStringList labels;
    for (const tk::TField* f : fields) labels << labelOf(*f);
    rows_->setHorizontalHeaderLabels(labels);
    for (int r = 0; r < count; ++r)
        for (std::size_t c = 0; c < fields.size(); ++c) {
            auto* item = new QTableWidgetItem(qs(data.DisplayTextAt(r + 1, *fields[c])));
            item->setData(Qt::UserRole, r + 1);
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            rows_->setItem(r, static_cast<int>(c), item);
        }
    rows_->setSelectionBehavior(QAbstractItemView::SelectRows);
    rows_->setSelectionMode(QAbstractItemView::SingleSelection);
    rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows_->verticalHeader()->hide();
    rows_->horizontalHeader()->setStretchLastSection(true);
    rows_->resizeColumnsToContents();
    if (count > 0) rows_->selectRow(0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter_);
    layout->addWidget(rows_);
    layout->addWidget(okCancel(*this, QStringLiteral("OK")));
    resize(480, 360);

    connect(filter_, &QLineEdit::textChanged, this, &SearchDialog::applyFilter);
    connect(rows_, &QTableWidget::cellDoubleClicked, this, [this] { accept(); });
    filter_->installEventFilter(this);
    filter_->setFocus();
}

bool SearchDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == filter_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            const int step = key == Qt::Key_Down ? 1 : -1;
            for (int r = rows_->currentRow() + step; r >= 0 && r < rows_->rowCount(); r += step)
                if (!rows_->isRowHidden(r)) {
                    rows_->selectRow(r);
                    break;
                }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SearchDialog::applyFilter(const QString& text) {
    int firstShown = -1;
    for (int r = 0; r < rows_->rowCount(); ++r) {
        bool match = text.isEmpty();
        for (int c = 0; c < rows_->columnCount() && !match; ++c)
            match = rows_->item(r, c)->text().contains(text, Qt::CaseInsensitive);
        rows_->setRowHidden(r, !match);
        if (match && firstShown < 0) firstShown = r;
    }
    // The selection follows the filter: a hidden row cannot be the one picked.
    const int current = rows_->currentRow();
    if (current < 0 || rows_->isRowHidden(current)) {
        if (firstShown >= 0)
            rows_->selectRow(firstShown);
        else
            rows_->clearSelection();
    }
}

int SearchDialog::chosenRecNo() const {
    const auto selected = rows_->selectionModel()->selectedRows();
    if (selected.isEmpty()) return 0;
    const int r = selected.first().row();
    if (rows_->isRowHidden(r) || rows_->columnCount() == 0) return 0;
    return rows_->item(r, 0)->data(Qt::UserRole).toInt();
}

FindDialog::FindDialog(const tk::TClientDataSet& data, QWidget* parent)
    : QDialog(parent), data_(data), fields_(visibleFields(data)), field_(new QComboBox(this)), text_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("find"));
    setWindowTitle(QStringLiteral("Procurar"));
    field_->setObjectName(QStringLiteral("field"));
    text_->setObjectName(QStringLiteral("text"));
    for (const tk::TField* f : fields_) field_->addItem(labelOf(*f));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Campo:"), field_);
    form->addRow(QStringLiteral("Texto:"), text_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancel(*this, QStringLiteral("Procurar")));
    text_->setFocus();
}

int FindDialog::nextMatch() const {
    const int index = field_->currentIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= fields_.size() || !data_.Active()) return 0;
    const QString wanted = text_->text();
    const int count = data_.RecordCount();
    const int start = data_.RecNo();
    for (int step = 1; step <= count; ++step) {
        const int r = (start - 1 + step) % count + 1;
        if (qs(data_.DisplayTextAt(r, *fields_[static_cast<std::size_t>(index)])).contains(wanted, Qt::CaseInsensitive))
            return r;
    }
    return 0;
}

}  // namespace gui
