// The settings of searchable PDF documents: whether their pages carry their words, and in which
// languages. A language whose data is not installed is greyed, and the note says which package
// brings it; with no data at all the whole choice is greyed and left as it was. A chosen language
// whose data is missing stays chosen for the day it is installed.
#include "program.h"
#include "set_win.h"
#include "text_data.h"

#include <QCheckBox>
#include <QLabel>

void SET_WIN::loadText() {
    const USR_SETTINGS& s = program_.settings;
    const QStringList chosen = s.PDLG.split(QLatin1Char('+'), Qt::SkipEmptyParts);
    bool any = false;
    QStringList missingNames;
    QStringList missingPackages;
    for (size_t i = 0; i < PDF_LANG.size(); ++i) {
        const QString& language = languages_[qsizetype(i)];
        const bool installed = text_data::installed(language);
        any = any || installed;
        PDF_LANG[i]->setProperty("installed", installed);
        PDF_LANG[i]->setChecked(installed && chosen.contains(language));
        if (!installed) {
            missingNames += text_data::displayName(language);
            missingPackages += text_data::package(language);
        }
    }
    Check13->setEnabled(any);
    Check13->setChecked(any && s.PDTX == 1);
    PDF_NOTE->setVisible(!missingNames.isEmpty());
    PDF_NOTE->setText(
        tr("%1の文字認識データがありません。パッケージ %2 を入れてください。")
            .arg(missingNames.join(tr("・")), missingPackages.join(QLatin1Char(' '))));
    updateText();
}

void SET_WIN::updateText() {
    for (QCheckBox* box : PDF_LANG) {
        box->setEnabled(Check13->isChecked() && box->property("installed").toBool());
    }
}

void SET_WIN::storeText() {
    if (!Check13->isEnabled()) {
        return;
    }
    USR_SETTINGS& s = program_.settings;
    // Chosen languages without their data stay chosen: installing it brings them back.
    QStringList chosen;
    for (const QString& language : s.PDLG.split(QLatin1Char('+'), Qt::SkipEmptyParts)) {
        if (!text_data::installed(language) && !chosen.contains(language)) {
            chosen += language;
        }
    }
    for (size_t i = 0; i < PDF_LANG.size(); ++i) {
        if (PDF_LANG[i]->isChecked() && !chosen.contains(languages_[qsizetype(i)])) {
            chosen += languages_[qsizetype(i)];
        }
    }
    // No language at all reads no words: that is the option off, the languages kept.
    const bool reading = Check13->isChecked() && !text_data::usable(chosen.join('+')).isEmpty();
    s.PDTX = reading ? 1 : 0;
    if (reading) {
        s.PDLG = chosen.join(QLatin1Char('+'));
    }
}
