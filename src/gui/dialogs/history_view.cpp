#include "gui/dialogs/history_view.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTimeZone>
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

std::vector<HistoryField> ParseHistoryRow(const std::string& row) {
    std::vector<HistoryField> fields;
    std::size_t at = 0;
    while (at < row.size()) {
        const std::size_t equals = row.find('=', at);
        if (equals == std::string::npos) break;
        HistoryField field;
        field.name = row.substr(at, equals - at);
        at = equals + 1;
        if (at < row.size() && row[at] == '"') {
            field.text = true;
            for (++at; at < row.size() && row[at] != '"'; ++at) {
                if (row[at] != '\\' || at + 1 >= row.size()) {
                    field.value += row[at];
                    continue;
                }
                ++at;
                if (row[at] == 'u' && at + 4 < row.size()) {
                    field.value += static_cast<char>(std::stoi(row.substr(at + 1, 4), nullptr, 16));
                    at += 4;
                } else {
                    field.value += row[at];
                }
            }
            at = row.find("; ", at);
        } else {
            const std::size_t end = row.find("; ", at);
            field.value = row.substr(at, end == std::string::npos ? std::string::npos : end - at);
            at = end;
        }
        fields.push_back(std::move(field));
        if (at == std::string::npos) break;
        at += 2;
    }
    return fields;
}

QString HistoryLocalTime(const std::string& utc) {
    QDateTime when = QDateTime::fromString(QString::fromStdString(utc), Qt::ISODate);
    if (!when.isValid()) return QString::fromStdString(utc);
    when.setTimeZone(QTimeZone::utc());
    return when.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm"));
}

QString HistoryView::rowText(const std::string& list, const std::string& row) const {
    if (!words_) return QString::fromStdString(row);
    const std::vector<HistoryField> fields = ParseHistoryRow(row);
    // A row the history wrote in words of its own ("Cópia da tabela 3") stays as it is.
    if (fields.empty()) return QString::fromStdString(row);
    QStringList parts;
    for (const HistoryField& field : fields) {
        const auto [title, value] = words_(list, field);
        parts.append(QString::fromStdString(title + ": " + value));
    }
    return parts.join(QStringLiteral("; "));
}

HistoryView::HistoryView(Words words, QWidget* parent)
    : QWidget(parent), words_(std::move(words)), title_(new QLabel(this)), table_(new QTableWidget(this)) {
    table_->setObjectName(QStringLiteral("historyTable"));
    table_->setColumnCount(6);
    table_->setHorizontalHeaderLabels({QStringLiteral("Quando"), QStringLiteral("Usuário"), QStringLiteral("Lista"),
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
        const QString cells[] = {HistoryLocalTime(e.when), QString::fromStdString(e.user), listText(e.list),
                                 operationText(e.operation), rowText(e.list, e.before), rowText(e.list, e.after)};
        for (int c = 0; c < 6; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(cells[c]);
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();
}

}  // namespace gui
