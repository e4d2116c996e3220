#pragma once
#include <QLocale>

class QTranslator;

namespace slatewick {

// Loads Qt's own translations for the locale from the system's Qt translation folder, so that
// the standard pieces (message box buttons, the save-file dialog) speak the user's language.
// The translator, owned by the application; null when there is none for that language.
QTranslator* InstallQtTranslations(const QLocale& locale);

}  // namespace slatewick
