#include "gui/dialogs/history_view.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace gui {

namespace {

// The list and the operation in the user's words.
QString listText(const std::string& list) {
    if (list == "COMISSAO") return QStringLiteral("Comissão");
    if (list == "CARGO") return QStringLiteral("Cargo");
    if (list == "TIPOEVENTO") return QStringLiteral("Tipo de Evento");
    if (list == "PROMOCAO") return QStringLiteral("Promoção");
    if (list == "FAIXACARGO") return QStringLiteral("Faixas do Cargo");
    if (list == "FAIXATIPOEVENTO") return QStringLiteral("Faixas do Tipo de Evento");
    if (list == "FAIXAPROMOCAO") return QStringLiteral("Faixas da Promoção");
    return QString::fromStdString(list);
}

QString operationText(const std::string& op) {
    if (op == "INCLUSAO") return QStringLiteral("Inclusão");
    if (op == "ALTERACAO") return QStringLiteral("Alteração");
    if (op == "EXCLUSAO") return QStringLiteral("Exclusão");
    return QString::fromStdString(op);
}

}  // namespace

HistoryView::HistoryView(QWidget* parent) : QWidget(parent), title_(new QLabel(this)), table_(new QTableWidget(this)) {
    table_->setObjectName(QStringLiteral("historyTable"));
    table_->setColumnCount(6);
    table_->setHorizontalHeaderLabels({QStringLiteral("Quando (UTC)"), QStringLiteral("Usuário"), QStringLiteral("Lista"),
                                       QStringLiteral("Operação"), QStringLiteral("Antes"), QStringLiteral("Depois")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(table_);
}

void HistoryView::setEntries(const QString& title, const std::vector<host::HistoryEntry>& entries) {
    title_->setText(title);
    table_->setRowCount(static_cast<int>(entries.size()));
    for (int r = 0; r < static_cast<int>(entries.size()); ++r) {
        const auto& e = entries[static_cast<std::size_t>(r)];
        QString when = QString::fromStdString(e.when);
        when.replace(QLatin1Char('T'), QLatin1Char(' '));
        const QString cells[] = {when, QString::fromStdString(e.user), listText(e.list), operationText(e.operation),
                                 QString::fromStdString(e.before), QString::fromStdString(e.after)};
        for (int c = 0; c < 6; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(cells[c]);
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();
}

}  // namespace gui
