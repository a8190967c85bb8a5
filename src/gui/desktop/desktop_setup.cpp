#include "gui/desktop/desktop_setup.h"

#include <QApplication>

#include "gui/desktop/qt_portuguese.h"
#include "gui/desktop/readable_palette.h"

namespace gui {

bool PrepareDesktop(QApplication& app) {
    QCoreApplication::setOrganizationName(QStringLiteral("backoffice"));
    QCoreApplication::setApplicationName(QStringLiteral("desktop"));
    QApplication::setPalette(ReadablePalette(QApplication::palette()));
    return InstallQtPortuguese(app);
}

}  // namespace gui
