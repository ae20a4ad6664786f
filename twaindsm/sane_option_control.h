// The control of one SANE option on the source's options page, chosen by the option's type and
// constraint: a check box for a boolean, a spin box for a number in a range (with its step and
// unit), a list for a word or string list, a line for free text or an array of numbers, a button
// for a button. An option the user may not set shows its value read-only. A choice is reported
// once it is complete (Return, leaving the field, a list entry, a click), never while typing.
#pragma once

#include "sane_option.h"

#include <QString>
#include <functional>

class QWidget;

namespace twaindsm {

class SaneOptionControl {
public:
    using Chosen = std::function<void(const SaneValue&)>;

    // The control for option under parent; chosen receives each value the user settles on.
    SaneOptionControl(const SaneOption& option, QWidget* parent, Chosen chosen);

    // The widget that takes the focus and carries the option's name ("option-<name>").
    QWidget* widget() const { return widget_; }
    // Whether the widget shows its title itself (a check box, a button), so needs no label.
    bool labelsItself() const { return labelsItself_; }

    // Shows what the device now holds and whether the option is active, without reporting it.
    void showValue(const SaneOption& option);

    // A title, description or list entry of the driver in the user's language, where SANE's own
    // translations have it.
    static QString driverText(const std::string& text);
    // The text a number has on the page: its value and unit ("12.5 mm").
    static QString numberText(double value, const SaneOption& option);
    // The option's unit as it follows a number (" mm", " dpi" …); empty for none.
    static QString unitSuffix(SANE_Unit unit);
    // An array as the line shows it ("1 2 3") and read back from it; false when a value is not a
    // number or their count is not the option's.
    static QString arrayText(const std::vector<double>& values);
    static bool parseArray(const QString& text, int count, std::vector<double>& values);

private:
    void choose(const SaneValue& value);

    enum class Kind { Check, Spin, FixedSpin, List, Line, Array, Button, ReadOnly };

    Kind kind_ = Kind::ReadOnly;
    QWidget* widget_ = nullptr;
    bool labelsItself_ = false;
    SaneOption option_;
    Chosen chosen_;
};

} // namespace twaindsm
