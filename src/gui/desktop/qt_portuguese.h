// Qt's own texts (the buttons and titles of its print, file and message dialogs) in
// Portuguese, from the translations Debian ships in qt6-translations-l10n.
#pragma once

class QCoreApplication;

namespace gui {

// Installs Qt's Brazilian Portuguese translation in `app` and makes Brazilian Portuguese the
// default locale (numbers and dates in Qt's widgets). False when the translation files are
// missing: Qt's texts then stay in English, nothing else changes.
bool InstallQtPortuguese(QCoreApplication& app);

}  // namespace gui
