#include "sane_option_control.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStringList>
#include <algorithm>
#include <climits>
#include <cmath>
#include <libintl.h>
#include <mutex>

namespace twaindsm {

namespace {

QString text(const char* source) {
    return QCoreApplication::translate("SaneOptionControl", source);
}

// Decimals that show every step of a fixed-point option, and at least two: a range's ends need
// not be whole steps (-42.17 in steps of 2).
int decimalsFor(double step) {
    if (step <= 0) {
        return 2;
    }
    return std::clamp(int(std::ceil(-std::log10(step) - 1e-9)), 2, 4);
}

double first(const SaneValue& value) {
    return value.numbers.empty() ? 0 : value.numbers.front();
}

} // namespace

QString SaneOptionControl::driverText(const std::string& source) {
    if (source.empty()) {
        return QString();
    }
    // SANE's drivers share one catalogue of their texts.
    static std::once_flag bound;
    std::call_once(bound, [] {
        bindtextdomain("sane-backends", "/usr/share/locale");
        bind_textdomain_codeset("sane-backends", "UTF-8");
    });
    return QString::fromUtf8(dgettext("sane-backends", source.c_str()));
}

QString SaneOptionControl::unitSuffix(SANE_Unit unit) {
    switch (unit) {
    case SANE_UNIT_PIXEL:
        return text(QT_TRANSLATE_NOOP("SaneOptionControl", " px"));
    case SANE_UNIT_BIT:
        return text(QT_TRANSLATE_NOOP("SaneOptionControl", " bit"));
    case SANE_UNIT_MM:
        return text(QT_TRANSLATE_NOOP("SaneOptionControl", " mm"));
    case SANE_UNIT_DPI:
        return text(QT_TRANSLATE_NOOP("SaneOptionControl", " dpi"));
    case SANE_UNIT_PERCENT:
        return text(QT_TRANSLATE_NOOP("SaneOptionControl", " %"));
    case SANE_UNIT_MICROSECOND:
        return text(QT_TRANSLATE_NOOP("SaneOptionControl", " µs"));
    default:
        return QString();
    }
}

QString SaneOptionControl::numberText(double value, const SaneOption& option) {
    const QString number = option.type == SANE_TYPE_FIXED
                               ? QString::number(value, 'f', decimalsFor(option.step))
                               : QString::number(std::llround(value));
    return number + unitSuffix(option.unit);
}

QString SaneOptionControl::arrayText(const std::vector<double>& values) {
    QStringList parts;
    for (double v : values) {
        parts += QString::number(v, 'g', 8);
    }
    return parts.join(QLatin1Char(' '));
}

bool SaneOptionControl::parseArray(const QString& line, int count, std::vector<double>& values) {
    values.clear();
    for (const QString& part :
         line.split(QRegularExpression(QStringLiteral("[\\s,;]+")), Qt::SkipEmptyParts)) {
        bool ok = false;
        const double v = part.toDouble(&ok);
        if (!ok || !std::isfinite(v)) {
            return false;
        }
        values.push_back(v);
    }
    return int(values.size()) == count;
}

SaneOptionControl::SaneOptionControl(const SaneOption& option, QWidget* parent, Chosen chosen)
    : option_(option), chosen_(std::move(chosen)) {
    const bool single = option.count() == 1;
    if (option.type == SANE_TYPE_BUTTON) {
        kind_ = Kind::Button;
    } else if (!SANE_OPTION_IS_SETTABLE(option.cap)) {
        kind_ = Kind::ReadOnly;
    } else if (option.type == SANE_TYPE_BOOL && single) {
        kind_ = Kind::Check;
    } else if (option.numeric() && !single) {
        kind_ = Kind::Array;
    } else if (option.constraint == SANE_CONSTRAINT_WORD_LIST ||
               option.constraint == SANE_CONSTRAINT_STRING_LIST) {
        kind_ = Kind::List;
    } else if (option.type == SANE_TYPE_INT) {
        kind_ = Kind::Spin;
    } else if (option.type == SANE_TYPE_FIXED) {
        kind_ = Kind::FixedSpin;
    } else if (option.type == SANE_TYPE_STRING) {
        kind_ = Kind::Line;
    }
    const QString title = driverText(option.title);

    switch (kind_) {
    case Kind::Check: {
        auto* box = new QCheckBox(title, parent);
        // Toggled, not clicked: a screen reader's toggle, or the space bar, sets it too. Values
        // shown from the device are shown with the signals blocked.
        QObject::connect(box, &QCheckBox::toggled, [this](bool on) {
            choose(SaneValue{{on ? 1.0 : 0.0}, {}});
        });
        widget_ = box;
        labelsItself_ = true;
        break;
    }
    case Kind::Button: {
        auto* button = new QPushButton(title, parent);
        QObject::connect(button, &QPushButton::clicked, [this] { chosen_(SaneValue{}); });
        widget_ = button;
        labelsItself_ = true;
        break;
    }
    case Kind::Spin: {
        auto* spin = new QSpinBox(parent);
        const bool ranged = option.constraint == SANE_CONSTRAINT_RANGE;
        spin->setRange(ranged ? int(option.min) : INT_MIN, ranged ? int(option.max) : INT_MAX);
        spin->setSingleStep(ranged && option.step >= 1 ? int(option.step) : 1);
        spin->setSuffix(unitSuffix(option.unit));
        spin->setKeyboardTracking(false);
        QObject::connect(spin, &QSpinBox::valueChanged, [this](int v) {
            choose(SaneValue{{double(v)}, {}});
        });
        widget_ = spin;
        break;
    }
    case Kind::FixedSpin: {
        auto* spin = new QDoubleSpinBox(parent);
        const bool ranged = option.constraint == SANE_CONSTRAINT_RANGE;
        spin->setDecimals(decimalsFor(option.step));
        spin->setRange(ranged ? option.min : -32768.0, ranged ? option.max : 32767.0);
        spin->setSingleStep(ranged && option.step > 0 ? option.step : 1.0);
        spin->setSuffix(unitSuffix(option.unit));
        spin->setKeyboardTracking(false);
        QObject::connect(spin, &QDoubleSpinBox::valueChanged, [this](double v) {
            choose(SaneValue{{v}, {}});
        });
        widget_ = spin;
        break;
    }
    case Kind::List: {
        auto* list = new QComboBox(parent);
        // Long entries are cut in the closed list, not widening the page.
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(16);
        if (option.constraint == SANE_CONSTRAINT_WORD_LIST) {
            for (double word : option.words) {
                list->addItem(numberText(word, option), word);
            }
        } else {
            for (const std::string& entry : option.strings) {
                list->addItem(driverText(entry), QString::fromStdString(entry));
            }
        }
        // Any change of the entry, as a screen reader makes it too, not only the user's pick.
        QObject::connect(list, &QComboBox::currentIndexChanged, [this, list](int i) {
            const QVariant data = list->itemData(i);
            if (data.typeId() == QMetaType::Double) {
                choose(SaneValue{{data.toDouble()}, {}});
            } else {
                choose(SaneValue{{}, data.toString().toStdString()});
            }
        });
        widget_ = list;
        break;
    }
    case Kind::Line:
    case Kind::Array:
    case Kind::ReadOnly: {
        auto* line = new QLineEdit(parent);
        if (kind_ == Kind::ReadOnly) {
            line->setReadOnly(true);
        } else if (kind_ == Kind::Line && option.size > 1) {
            line->setMaxLength(option.size - 1);
        }
        if (kind_ != Kind::ReadOnly) {
            QObject::connect(line, &QLineEdit::editingFinished, [this, line] {
                if (kind_ == Kind::Line) {
                    choose(SaneValue{{}, line->text().toStdString()});
                    return;
                }
                std::vector<double> values;
                if (!parseArray(line->text(), option_.count(), values)) {
                    line->setText(arrayText(option_.value.numbers)); // not a value: as it was
                } else {
                    choose(SaneValue{values, {}});
                }
            });
        }
        widget_ = line;
        break;
    }
    }
    widget_->setObjectName(QStringLiteral("option-") + QString::fromStdString(option.name));
    widget_->setToolTip(driverText(option.description));
    widget_->setAccessibleName(title);
    widget_->setAccessibleDescription(driverText(option.description));
    showValue(option);
}

void SaneOptionControl::choose(const SaneValue& value) {
    // What the device holds already is not set again (a field left without a change, say).
    if (option_.readable && value == option_.value) {
        return;
    }
    chosen_(value);
}

void SaneOptionControl::showValue(const SaneOption& option) {
    option_ = option;
    const QSignalBlocker quiet(widget_);
    widget_->setEnabled(option.active());
    const double number = first(option.value);
    switch (kind_) {
    case Kind::Check:
        static_cast<QCheckBox*>(widget_)->setChecked(number != 0);
        break;
    case Kind::Spin:
        static_cast<QSpinBox*>(widget_)->setValue(int(std::lround(number)));
        break;
    case Kind::FixedSpin:
        static_cast<QDoubleSpinBox*>(widget_)->setValue(number);
        break;
    case Kind::List: {
        auto* list = static_cast<QComboBox*>(widget_);
        const QVariant data = option.constraint == SANE_CONSTRAINT_WORD_LIST
                                  ? QVariant(number)
                                  : QVariant(QString::fromStdString(option.value.text));
        list->setCurrentIndex(list->findData(data));
        break;
    }
    case Kind::Line:
        static_cast<QLineEdit*>(widget_)->setText(QString::fromStdString(option.value.text));
        break;
    case Kind::Array:
        static_cast<QLineEdit*>(widget_)->setText(arrayText(option.value.numbers));
        break;
    case Kind::ReadOnly: {
        QString shown;
        if (option.type == SANE_TYPE_STRING) {
            shown = driverText(option.value.text);
        } else if (option.type == SANE_TYPE_BOOL && option.count() == 1) {
            shown = number != 0 ? text(QT_TRANSLATE_NOOP("SaneOptionControl", "はい"))
                                : text(QT_TRANSLATE_NOOP("SaneOptionControl", "いいえ"));
        } else if (option.count() == 1 && !option.value.numbers.empty()) {
            shown = numberText(number, option);
        } else {
            shown = arrayText(option.value.numbers);
        }
        static_cast<QLineEdit*>(widget_)->setText(shown);
        break;
    }
    case Kind::Button:
        break;
    }
}

} // namespace twaindsm
