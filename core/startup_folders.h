// The folders the program settles at start-up: today's date text, the acquisition folder, the
// base folder of a first start and the display folder of a start without a named folder.
#pragma once

#include <QDate>
#include <QString>

class Program;
struct USR_SETTINGS;

// Today's date as eight digits, month, day, year ("12082026").
QString todayText(const QDate& date);

// ACQ_DIR from BASD (the desktop when BADM is set), with today's date folder when MKDR is 1.
void MAKE_ACQ_DIR(Program& program);
// As above with the desktop folder given, for callers that already looked it up.
void makeAcquisitionFolder(Program& program, const QString& desktop);

// The first start (BASD empty): BASD becomes the desktop folder, or the home folder when there is
// none (the program folder without a home either); FTRD follows it and acquired pages go to
// dated folders.
void settleFirstRunBase(Program& program, const QString& desktop);

// The display folder when no folder was named: the last one shown when DFDF is 1 and there is
// one, else ACQ_DIR.
QString startFolder(const USR_SETTINGS& settings, const QString& acquisitionFolder);

// path with a trailing "/" unless it already has one.
QString withTrailingSlash(const QString& path);
