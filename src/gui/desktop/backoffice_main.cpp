// backoffice: the desktop host. Loads the screen module and shows its screens in an MDI
// main window.
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/host_services.h"
#include "gui/desktop/desktop_lock.h"
#include "gui/desktop/desktop_setup.h"
#include "gui/desktop/gui_user_interface.h"
#include "gui/desktop/main_window.h"
#include "gui/dialogs/sign_in_dialog.h"
#include "host/command_line.h"
#include "host/host_options.h"
#include "host/module_loader.h"
#include "toolkit/tapplication.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kHostFailure = 1;

// The host's own arguments: Qt's (single dash, "-platform offscreen") are left to Qt.
std::vector<std::string> hostArguments(int argc, char** argv) {
    static const std::string withValue[] = {"-platform", "-display", "-style", "-geometry", "-qwindowgeometry",
                                            "-qwindowtitle", "-qwindowicon", "-platformpluginpath", "-plugin"};
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.size() > 1 && arg[0] == '-' && arg[1] != '-') {
            if (std::find(std::begin(withValue), std::end(withValue), arg) != std::end(withValue)) ++i;
            continue;
        }
        args.push_back(arg);
    }
    return args;
}

}  // namespace

int main(int argc, char** argv) {
    // Options are checked before Qt starts, so a mistake is reported without a display.
    host::HostOptions options;
    try {
        options = host::parseHostOptions(hostArguments(argc, argv), host::HostProgram::Desktop);
    } catch (const std::invalid_argument& e) {
        std::cerr << "backoffice: " << e.what() << "\nRun backoffice --help to see the options.\n";
        return kUsageError;
    }
    if (options.help) {
        std::cout << host::hostUsage(host::HostProgram::Desktop);
        return 0;
    }
    if (options.version) {
        std::cout << host::versionLine("backoffice");
        return 0;
    }

    // The password of --user from its file or the environment; without either, the sign-in
    // dialog asks for it.
    std::string password;
    bool passwordGiven = false;
    if (!options.user.empty()) {
        try {
            password = host::readPassword(options);
            passwordGiven = true;
        } catch (const std::invalid_argument& e) {
            if (!options.passwordFile.empty()) {
                std::cerr << "backoffice: " << e.what() << '\n';
                return kUsageError;
            }
        }
    }

    QApplication qapp(argc, argv);
    gui::PrepareDesktop(qapp);
    gui::DesktopLock lock(QStringLiteral("%1:%2").arg(QString::fromStdString(options.serverHost)).arg(options.serverPort),
                          QString::fromStdString(options.localDb));
    if (!lock.takeOrAsk(nullptr)) return kHostFailure;
    fw::HostServices services(fw::HostSettings{options.serverHost, options.serverPort, options.branch, options.localDb,
                                               options.user, password, options.tlsCa});
    fw::HostServices::SetInstance(&services);
    if (!options.user.empty()) {
        gui::SignInDialog dialog(services, options.user);
        if (passwordGiven) dialog.passwordEdit()->setText(QString::fromStdString(password));
        // A password given is tried at once; the dialog shows only when it is missing or refused.
        if (!(passwordGiven && dialog.trySignIn()) && dialog.exec() != QDialog::Accepted) {
            fw::HostServices::SetInstance(nullptr);
            return kHostFailure;
        }
    }
    std::unique_ptr<host::LoadedModule> module;
    try {
        module = std::make_unique<host::LoadedModule>(options.modulePath.empty() ? host::defaultModulePath()
                                                                                 : options.modulePath);
    } catch (const std::exception& e) {
        std::cerr << "backoffice: " << e.what() << '\n';
        fw::HostServices::SetInstance(nullptr);
        return kHostFailure;
    }

    int status = 0;
    {
        // Destroyed in reverse: the window (its views let go of the forms), the application
        // (its forms), then the view; the module whose code they ran goes last.
        gui::GuiUserInterface ui;
        tk::TApplication app(ui);
        tk::TApplication::SetInstance(&app);
        {
            gui::MainWindow window(app, ui, module->bindings());
            window.showAsLeft();
            if (options.open) QTimer::singleShot(0, &window, [&window] { window.openScreen(); });
            status = QApplication::exec();
        }
        tk::TApplication::SetInstance(nullptr);
    }
    module.reset();
    fw::HostServices::SetInstance(nullptr);
    return status;
}
