#include "gui/desktop/desktop_lock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace gui {

DesktopLock::DesktopLock(const QString& server, const QString& catalogue, const QString& folder)
    : server_(server), catalogue_(catalogue) {
    QString where = folder;
    if (where.isEmpty()) where = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (where.isEmpty()) where = QDir::tempPath();
    QDir().mkpath(where);
    // The same server and catalogue, however they were written, give the same lock.
    const QString catalogueFile = catalogue.isEmpty() ? QString() : QFileInfo(catalogue).absoluteFilePath();
    const QByteArray key =
        QCryptographicHash::hash((server.toLower() + '\n' + catalogueFile).toUtf8(), QCryptographicHash::Sha1).toHex();
    lock_ = std::make_unique<QLockFile>(where + "/backoffice-" + QString::fromLatin1(key.left(16)) + ".lock");
    // A lock left by a desktop that died is taken over at once.
    lock_->setStaleLockTime(0);
}

bool DesktopLock::take() { return lock_->isLocked() || lock_->tryLock(0); }

QString DesktopLock::refusal() const {
    return QStringLiteral("Já há um Backoffice aberto neste computador para o servidor %1 e o catálogo %2.\n\n"
                          "Volte à janela que já está aberta (procure-a na barra de tarefas) e continue nela; "
                          "dois Backoffices sobre as mesmas tabelas confundem quem as mantém. "
                          "Se aquela janela não responde mais, feche-a antes de abrir outra.")
        .arg(server_, catalogue_);
}

bool DesktopLock::takeOrAsk(QWidget* parent) {
    if (take()) return true;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Backoffice já aberto"), refusal(), QMessageBox::NoButton,
                    parent);
    box.setObjectName(QStringLiteral("desktopOpenAlready"));
    QPushButton* leave = box.addButton(QStringLiteral("&Usar a janela aberta"), QMessageBox::RejectRole);
    QPushButton* open = box.addButton(QStringLiteral("&Abrir outro mesmo assim"), QMessageBox::AcceptRole);
    // Enter keeps the user in the desktop already open.
    box.setDefaultButton(leave);
    box.setEscapeButton(leave);
    box.exec();
    return box.clickedButton() == open;
}

}  // namespace gui
