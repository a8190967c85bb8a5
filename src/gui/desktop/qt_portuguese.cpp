#include "gui/desktop/qt_portuguese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace gui {

bool InstallQtPortuguese(QCoreApplication& app) {
    const QLocale portuguese(QLocale::Portuguese, QLocale::Brazil);
    QLocale::setDefault(portuguese);
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(portuguese, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    // The application owns it: it must outlive every text it translates.
    translator->setParent(&app);
    return QCoreApplication::installTranslator(translator.release());
}

}  // namespace gui
