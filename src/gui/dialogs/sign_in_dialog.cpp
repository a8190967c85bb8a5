#include "gui/dialogs/sign_in_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "framework/host_services.h"
#include "framework/server_reply.h"
#include "framework/tnetconnection.h"

namespace gui {

SignInDialog::SignInDialog(fw::HostServices& services, const std::string& user, QWidget* parent)
    : QDialog(parent),
      services_(services),
      user_(new QLineEdit(QString::fromStdString(user), this)),
      password_(new QLineEdit(this)),
      failure_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Entrar no servidor de aplicação"));
    password_->setEchoMode(QLineEdit::Password);
    failure_->setWordWrap(true);
    failure_->setStyleSheet(QStringLiteral("color: #b00020"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Usuário"), user_);
    form->addRow(QStringLiteral("Senha"), password_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Entrar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { trySignIn(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(failure_);
    layout->addWidget(buttons);
    (user.empty() ? user_ : password_)->setFocus();
}

bool SignInDialog::trySignIn() {
    services_.SetCredentials(user_->text().toStdString(), password_->text().toStdString());
    try {
        services_.SetBranch(fw::SignInBranch(services_));
    } catch (const std::exception& e) {
        failure_->setText(QString::fromUtf8(e.what()));
        password_->clear();
        password_->setFocus();
        return false;
    }
    accept();
    return true;
}

}  // namespace gui
