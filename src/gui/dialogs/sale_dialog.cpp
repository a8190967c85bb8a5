#include "gui/dialogs/sale_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "toolkit/formats.h"
#include "wire/lists.h"

namespace gui {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

std::string money(double v) { return tk::FormatFloat("#,##0.00", v); }

std::string number(const std::optional<double>& n) { return n ? tk::FloatToStr(*n) : std::string("?"); }

// The page a rule is kept on.
std::string scopePage(const std::string& scope) {
    if (scope == wire::scopeWord(wire::Scope::Cargo)) return "Cargo";
    if (scope == wire::scopeWord(wire::Scope::TipoEvento)) return "Tipo de Evento";
    if (scope == wire::scopeWord(wire::Scope::Promocao)) return "Promoção";
    return scope;
}

}  // namespace

SaleDialog::SaleDialog(std::vector<host::EventType> catalogue,
                       std::vector<std::pair<std::string, std::string>> positions, Ask ask, QWidget* parent,
                       Describe describe)
    : QDialog(parent),
      catalogue_(std::move(catalogue)),
      ask_(std::move(ask)),
      describe_(std::move(describe)),
      eventDate_(new QLineEdit(this)),
      closingDate_(new QLineEdit(this)),
      eventType_(new QComboBox(this)),
      position_(new QComboBox(this)),
      value_(new QLineEdit(this)),
      simulate_(new QPushButton(QStringLiteral("&Simular"), this)),
      answer_(new QLabel(this)),
      reasons_(new QListWidget(this)) {
    setObjectName(QStringLiteral("saleDialog"));
    setWindowTitle(QStringLiteral("Simular venda"));
    eventDate_->setObjectName(QStringLiteral("eventDate"));
    closingDate_->setObjectName(QStringLiteral("closingDate"));
    eventType_->setObjectName(QStringLiteral("eventType"));
    position_->setObjectName(QStringLiteral("position"));
    value_->setObjectName(QStringLiteral("value"));
    answer_->setObjectName(QStringLiteral("answer"));
    reasons_->setObjectName(QStringLiteral("reasons"));
    for (QLineEdit* date : {eventDate_, closingDate_}) date->setPlaceholderText(QStringLiteral("dd/mm/aaaa"));
    value_->setPlaceholderText(QStringLiteral("0,00"));
    for (const auto& type : catalogue_) eventType_->addItem(qs(type.code + " " + type.name), qs(type.code));
    for (const auto& [code, text] : positions) position_->addItem(qs(text), qs(code));
    answer_->setWordWrap(true);
    answer_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    reasons_->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Data do &Evento:"), eventDate_);
    form->addRow(QStringLiteral("Data de &Fechamento:"), closingDate_);
    form->addRow(QStringLiteral("&Tipo de evento:"), eventType_);
    form->addRow(QStringLiteral("&Cargo:"), position_);
    form->addRow(QStringLiteral("&Valor da venda:"), value_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("&Fechar"));
    buttons->addButton(simulate_, QDialogButtonBox::ActionRole);
    simulate_->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(answer_);
    layout->addWidget(new QLabel(QStringLiteral("Regras passadas:"), this));
    layout->addWidget(reasons_, 1);
    layout->addWidget(buttons);
    connect(simulate_, &QPushButton::clicked, this, [this] { simulate(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(560, 420);
}

void SaleDialog::simulate() {
    reasons_->clear();
    host::Sale sale;
    try {
        sale = host::ReadSale(eventDate_->text().toStdString(), closingDate_->text().toStdString(),
                              eventType_->currentData().toString().toStdString(),
                              position_->currentData().toString().toStdString(), value_->text().toStdString(),
                              catalogue_);
    } catch (const host::InputError& e) {
        answer_->setStyleSheet(QStringLiteral("color: #b00020"));
        answer_->setText(qs(e.what()));
        return;
    }
    answer_->setStyleSheet(QString());
    answer_->clear();
    // The value as it was read, in the format the answer uses.
    value_->setText(qs(money(sale.value)));
    if (const auto answer = ask_(sale)) showAnswer(*answer);
}

void SaleDialog::showAnswer(const host::SaleAnswer& a) {
    const Words words = describe_ ? describe_(a) : Words{};
    const std::string table = words.table.empty() ? "comissão " + number(a.table) : words.table;
    if (a.commission) {
        const std::string band = words.band.empty() ? "faixa " + number(a.band) + " da regra " + number(a.rule)
                                                    : "faixa " + words.band;
        answer_->setText(qs("Comissão de " + money(*a.commission) + ": " + table + ", " + band + ", " +
                            money(a.percent.value_or(0)) + " % (página " + scopePage(a.scope) + ")."));
    } else if (a.table) {
        answer_->setText(qs("Nenhuma regra de " + table + " dá comissão a esta venda."));
    } else {
        answer_->setText(QStringLiteral("Nenhuma comissão vale nesta data."));
    }
    for (const auto& reason : a.reasons) reasons_->addItem(qs(reason));
}

}  // namespace gui
