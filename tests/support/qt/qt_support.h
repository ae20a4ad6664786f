// What the widget tests share: one application for the whole test program, paths as the program
// spells them, and typing the way a user types, into the widget that has the focus.
#pragma once

#include <QString>
#include <string>

class QApplication;
class QLineEdit;

// The test program's application, made on first use (offscreen under ctest); it lives until the
// process ends.
QApplication& testApplication();

// A path of the test's own (bytes) as the program holds it: bytes that are not UTF-8 escaped.
QString q(const std::string& path);

// Clicks box, selects its text with Ctrl+A and types text key by key into the focus widget, as
// a user does; with leave, Tab then moves the focus on.
void typeInto(QLineEdit* box, const QString& text, bool leave = false);
