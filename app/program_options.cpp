#include "program_options.h"

#include "command_line.h"

#include <QCommandLineParser>
#include <algorithm>

namespace {

const char* const kDescription =
    "Acquires pages from a scanner or camera (TWAIN, SANE), names and stores them, and browses\n"
    "folders of pictures.\n"
    "\n"
    "Files:\n"
    "  ORVA.CNF              the settings, in the program folder or, when that cannot be\n"
    "                        written, in $XDG_CONFIG_HOME/orvana (~/.config/orvana)\n"
    "  ~/.cache/thumbnails   the thumbnails shared with file managers\n"
    "  the desktop trash     where deleted pictures go";

} // namespace

ProgramOptions parseProgramOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    parser.addPositionalArgument(QStringLiteral("folder"),
                                 QStringLiteral("The folder to show (default: the folder of the "
                                                "last acquisition, as the settings say)."),
                                 QStringLiteral("[folder]"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    ProgramOptions options;
    if (!parser.parse(arguments)) {
        options.run = false;
        options.exitCode = 2;
        options.error = parser.errorText() + QLatin1Char('\n');
        return options;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        options.run = false;
        // Named as it is started, whatever the program file is called.
        const QString text = parser.helpText();
        options.output = QStringLiteral("Usage: orvana [options] [folder]") +
                         text.mid(std::max<qsizetype>(0, text.indexOf(QLatin1Char('\n'))));
        return options;
    }
    if (parser.isSet(version)) {
        options.run = false;
        options.output = QStringLiteral("Orvana " ORVANA_VERSION "\n");
        return options;
    }
    options.folder =
        commandLineText(QStringList{arguments.value(0)} + parser.positionalArguments());
    return options;
}
