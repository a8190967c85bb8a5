#include "gui/desktop/gui_user_interface.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "gui/dialogs/data_dialogs.h"
#include "toolkit/tclientdataset.h"

namespace gui {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

GuiUserInterface::~GuiUserInterface() {
    WaitHide();
}

int GuiUserInterface::runModal(QDialog& dialog) {
    if (dialogHook_) {
        // Queued: it runs inside the dialog's own event loop, with the dialog showing.
        QPointer<QDialog> guard(&dialog);
        QTimer::singleShot(0, &dialog, [this, guard] {
            if (guard && dialogHook_) dialogHook_(*guard);
        });
    }
    // A busy cursor must not hide that the program is waiting for the user.
    const bool busy = waiting_;
    if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int result = dialog.exec();
    if (busy) QApplication::restoreOverrideCursor();
    return result;
}

bool GuiUserInterface::Confirm(const std::string& key, const std::string& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirmação"), qs(text),
                    QMessageBox::Yes | QMessageBox::No, dialogParent_);
    box.setObjectName(qs("question:" + key));
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sim"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Não"));
    // Every question's Yes loses something (typing cancelled, a row deleted): Enter and
    // Escape keep the work.
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    runModal(box);
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

void GuiUserInterface::error(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::Critical, qs(title), qs(text), QMessageBox::Ok, dialogParent_);
    box.setObjectName(QStringLiteral("error"));
    runModal(box);
    if (onError) onError(text);
}

void GuiUserInterface::ShowMessageError(const std::string& text) { error("Atenção", text); }

void GuiUserInterface::ShowException(const std::string& text) { error("Erro", text); }

bool GuiUserInterface::Search(tk::TClientDataSet& data, const std::string& title) {
    SearchDialog dialog(data, qs(title), dialogParent_);
    if (runModal(dialog) != QDialog::Accepted || dialog.chosenRecNo() < 1) return false;
    data.SetRecNo(dialog.chosenRecNo());
    return true;
}

void GuiUserInterface::Find(tk::TClientDataSet& data) {
    FindDialog dialog(data, dialogParent_);
    if (runModal(dialog) != QDialog::Accepted) return;
    const int found = dialog.nextMatch();
    if (found > 0) {
        data.SetRecNo(found);
        return;
    }
    QMessageBox box(QMessageBox::Information, QStringLiteral("Procurar"), QStringLiteral("Registro não encontrado."),
                    QMessageBox::Ok, dialogParent_);
    box.setObjectName(QStringLiteral("notFound"));
    runModal(box);
}

void GuiUserInterface::WaitShow(int /*kind*/) {
    if (waiting_) return;
    waiting_ = true;
    QApplication::setOverrideCursor(Qt::BusyCursor);
}

void GuiUserInterface::WaitHide() {
    if (!waiting_) return;
    waiting_ = false;
    QApplication::restoreOverrideCursor();
}

void GuiUserInterface::FormShown(tk::TForm& form) {
    if (onFormShown) onFormShown(form);
}

void GuiUserInterface::FormClosed(tk::TForm& form) {
    if (onFormClosed) onFormClosed(form);
}

}  // namespace gui
