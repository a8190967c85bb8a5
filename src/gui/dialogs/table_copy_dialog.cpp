#include "gui/dialogs/table_copy_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace gui {

TableCopyDialog::TableCopyDialog(double source, const QString& description, const QString& start, const QString& end,
                                 Ask ask, QWidget* parent)
    : QDialog(parent),
      source_(source),
      ask_(std::move(ask)),
      description_(new QLineEdit(description, this)),
      start_(new QLineEdit(start, this)),
      end_(new QLineEdit(end, this)),
      copy_(new QPushButton(QStringLiteral("&Copiar"), this)),
      problem_(new QLabel(this)) {
    setObjectName(QStringLiteral("tableCopyDialog"));
    setWindowTitle(QStringLiteral("Copiar tabela"));
    description_->setObjectName(QStringLiteral("description"));
    start_->setObjectName(QStringLiteral("start"));
    end_->setObjectName(QStringLiteral("end"));
    problem_->setObjectName(QStringLiteral("problem"));
    for (QLineEdit* date : {start_, end_}) date->setPlaceholderText(QStringLiteral("dd/mm/aaaa"));
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00020"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Descrição:"), description_);
    form->addRow(QStringLiteral("Data &Inicial:"), start_);
    form->addRow(QStringLiteral("Data &Final:"), end_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Ca&ncelar"));
    buttons->addButton(copy_, QDialogButtonBox::ActionRole);
    copy_->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Uma nova tabela com todas as regras e faixas da tabela %1.")
                                     .arg(QString::number(source, 'f', 0)),
                                 this));
    layout->addLayout(form);
    layout->addWidget(problem_);
    layout->addWidget(buttons);
    // The copy button asks first; only a copy made closes the dialog.
    connect(copy_, &QPushButton::clicked, this, [this] { copy(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(440, 200);
}

void TableCopyDialog::copy() {
    host::TableCopyRequest request;
    try {
        request = host::ReadTableCopy(source_, start_->text().toStdString(), end_->text().toStdString(),
                                      description_->text().toStdString());
    } catch (const host::InputError& e) {
        problem_->setText(QString::fromStdString(e.what()));
        return;
    }
    problem_->clear();
    const std::string refusal = ask_(request);
    if (!refusal.empty()) {
        problem_->setText(QString::fromStdString(refusal));
        return;
    }
    accept();
}

}  // namespace gui
