#pragma once

class QCoreApplication;

namespace widgets {

// Installs Qt's own Japanese translation (qtbase_ja from Qt's translations
// folder), so that Qt's dialogs and messages (the colour chooser, the file
// browser, error texts of Qt) speak the program's language. The translator
// lives as long as the application. False, and Qt's English kept, when the
// translation is not installed.
bool LoadQtTranslation(QCoreApplication& app);

}  // namespace widgets
