#include "gui/dialogs/sheet_import_dialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "host/commission_questions.h"

namespace gui {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

SheetImportDialog::SheetImportDialog(double current, const QString& currentName, Ask ask, QWidget* parent)
    : QDialog(parent),
      current_(current),
      ask_(std::move(ask)),
      file_(new QLineEdit(this)),
      intoNew_(new QRadioButton(QStringLiteral("Uma tabela &nova"), this)),
      intoCurrent_(new QRadioButton(QStringLiteral("A tabela a&tual, ainda sem regras: %1").arg(currentName), this)),
      description_(new QLineEdit(this)),
      start_(new QLineEdit(this)),
      end_(new QLineEdit(this)),
      import_(new QPushButton(QStringLiteral("&Importar"), this)),
      status_(new QLabel(this)),
      refused_(new QListWidget(this)) {
    setObjectName(QStringLiteral("sheetImportDialog"));
    setWindowTitle(QStringLiteral("Importar tabela"));
    file_->setObjectName(QStringLiteral("file"));
    intoNew_->setObjectName(QStringLiteral("intoNew"));
    intoCurrent_->setObjectName(QStringLiteral("intoCurrent"));
    description_->setObjectName(QStringLiteral("description"));
    start_->setObjectName(QStringLiteral("start"));
    end_->setObjectName(QStringLiteral("end"));
    status_->setObjectName(QStringLiteral("status"));
    refused_->setObjectName(QStringLiteral("refused"));
    for (QLineEdit* date : {start_, end_}) date->setPlaceholderText(QStringLiteral("dd/mm/aaaa"));
    description_->setMaxLength(30);
    intoNew_->setChecked(true);
    intoCurrent_->setEnabled(current_ > 0);
    status_->setWordWrap(true);
    refused_->setWordWrap(true);

    auto* choose = new QPushButton(QStringLiteral("&Escolher…"), this);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file_, 1);
    fileRow->addWidget(choose);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Arquivo:"), fileRow);
    form->addRow(intoNew_);
    form->addRow(QStringLiteral("&Descrição:"), description_);
    form->addRow(QStringLiteral("Data &Inicial:"), start_);
    form->addRow(QStringLiteral("Data &Final:"), end_);
    form->addRow(intoCurrent_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Fe&char"));
    buttons->addButton(import_, QDialogButtonBox::ActionRole);
    import_->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(status_);
    layout->addWidget(new QLabel(QStringLiteral("Linhas recusadas:"), this));
    layout->addWidget(refused_, 1);
    layout->addWidget(buttons);
    connect(choose, &QPushButton::clicked, this, [this] { chooseFile(); });
    connect(import_, &QPushButton::clicked, this, [this] { runImport(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const auto newTableInputs = [this] {
        for (QLineEdit* e : {description_, start_, end_}) e->setEnabled(intoNew_->isChecked());
    };
    connect(intoNew_, &QRadioButton::toggled, this, newTableInputs);
    resize(620, 420);
}

void SheetImportDialog::chooseFile() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Planilha da tabela"), file_->text(),
                                                      QStringLiteral("Planilhas CSV (*.csv);;Todos os arquivos (*)"));
    if (!path.isEmpty()) file_->setText(path);
}

void SheetImportDialog::runImport() {
    refused_->clear();
    status_->clear();
    host::SheetImportRequest request;
    QFile in(file_->text());
    if (file_->text().isEmpty() || !in.open(QIODevice::ReadOnly)) {
        status_->setText(QStringLiteral("Não foi possível ler o arquivo \"%1\".").arg(file_->text()));
        return;
    }
    request.text = in.readAll().toStdString();
    request.fileName = QFileInfo(file_->text()).fileName().toStdString();
    if (intoCurrent_->isChecked()) {
        request.table = current_;
    } else {
        try {
            const host::TableCopyRequest read = host::ReadTableCopy(0, start_->text().toStdString(),
                                                                    end_->text().toStdString(),
                                                                    description_->text().toStdString());
            request.description = read.description;
            request.start = read.start;
            request.end = read.end;
        } catch (const host::InputError& e) {
            status_->setText(qs(e.what()));
            return;
        }
    }
    const auto answer = ask_(request);
    if (!answer) return;
    if (answer->table) {
        imported_ = answer->table;
        accept();
        return;
    }
    status_->setText(QStringLiteral("Nada foi gravado: %1 recusa(s).").arg(answer->refused.size()));
    for (const host::RefusedLine& line : answer->refused) refused_->addItem(qs(host::RefusedLineText(line)));
}

}  // namespace gui
