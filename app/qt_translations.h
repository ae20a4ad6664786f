// Qt's own texts (file dialogs, the printer dialogs, their buttons and questions) in the
// program's language, Japanese, from the Qt translations installed with the system.
#pragma once

class QTranslator;

// Loads qtbase_ja into translator and installs it in the application; false when the
// translations are not installed (Qt's dialogs then speak English).
bool installQtTranslations(QTranslator& translator);
