// The desktop host's sign-in: asks the user's name and password until the server takes them;
// the branch is then the account's.
#pragma once
#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;

namespace fw {
class HostServices;
}

namespace gui {

class SignInDialog : public QDialog {
public:
    // `services` outlives the dialog; `user` fills the name at first.
    SignInDialog(fw::HostServices& services, const std::string& user, QWidget* parent = nullptr);

    // Signs in with what was typed: true and the dialog accepted when the server takes it, else
    // the server's reason shown under the fields and the password cleared.
    bool trySignIn();

    QLineEdit* userEdit() const { return user_; }
    QLineEdit* passwordEdit() const { return password_; }
    QLabel* failureLabel() const { return failure_; }

private:
    fw::HostServices& services_;
    QLineEdit* user_;
    QLineEdit* password_;
    QLabel* failure_;
};

}  // namespace gui
