#pragma once

class QCoreApplication;
class QTranslator;

namespace tolvane {

// Qt's own texts (the standard buttons, the file and colour dialogs) in
// Japanese like the rest of the window, whatever the system's language: loads
// qtbase_ja from Qt's translations folder (Debian: qt6-translations-l10n) and
// makes Japanese the default locale for the dates and sizes Qt's dialogs show.
// Returns the installed translator, owned by app, or nullptr when Qt's
// Japanese translation is not there (Qt's texts then stay English).
QTranslator* installQtJapanese(QCoreApplication& app);

} // namespace tolvane
