// The language the program speaks: its texts are written in Japanese, and a user whose desktop
// asks for English gets the English translation, Qt's own dialogs included.
#pragma once

#include <QStringList>
#include <QTranslator>

class ProgramLanguage {
public:
    enum Language { Japanese, English };

    // The language for the desktop's preferred languages, best first, as
    // QLocale::uiLanguages() gives them ("en-GB", "ja-JP", "de"…): the first that is Japanese or
    // English; Japanese when none is.
    static Language forDesktop(const QStringList& uiLanguages);

    // Installs the program's and Qt's texts for language in the application, once; false when
    // a translation could not be loaded (those texts then stay as written).
    bool install(Language language);

private:
    QTranslator program_;
    QTranslator qt_;
};
