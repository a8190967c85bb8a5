#include "gui/dialogs/findings_view.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace gui {

QString FindingKindText(const std::string& kind) {
    if (kind == "FAIXA_LACUNA") return QStringLiteral("Lacuna entre faixas");
    if (kind == "REGRA_SEM_FAIXA") return QStringLiteral("Regra sem faixas");
    if (kind == "PROMOCAO_FORA") return QStringLiteral("Promoção fora da validade");
    if (kind == "PERIODO_LACUNA") return QStringLiteral("Dias sem comissão");
    if (kind == "TIPOEVENTO_SEM_REGRA") return QStringLiteral("Tipo de evento sem regra");
    return QString::fromStdString(kind);
}

FindingsView::FindingsView(QWidget* parent) : QWidget(parent), title_(new QLabel(this)), list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("findingsView"));
    list_->setObjectName(QStringLiteral("findings"));
    list_->setWordWrap(true);
    list_->setAlternatingRowColors(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(list_, 1);
    connect(list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const auto at = static_cast<std::size_t>(list_->row(item));
        if (at < findings_.size() && onChosen) onChosen(findings_[at]);
    });
}

void FindingsView::setFindings(const QString& title, std::vector<host::Finding> findings) {
    findings_ = std::move(findings);
    title_->setText(title);
    list_->clear();
    for (const auto& f : findings_)
        list_->addItem(FindingKindText(f.kind) + QStringLiteral(" · ") + QString::fromStdString(f.text));
    if (findings_.empty()) {
        auto* none = new QListWidgetItem(QStringLiteral("Nenhuma lacuna encontrada nesta tabela."), list_);
        none->setFlags(Qt::NoItemFlags);
    }
}

}  // namespace gui
