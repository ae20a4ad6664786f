#include "sane_options_page.h"

#include "sane_option_control.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMetaObject>
#include <QScrollArea>
#include <QVBoxLayout>
#include <utility>

namespace twaindsm {

SaneOptionsPage::SaneOptionsPage(std::set<std::string> leftOut, QWidget* parent)
    : QWidget(parent), leftOut_(std::move(leftOut)),
      advancedBox_(new QCheckBox(tr("詳細なオプションも表示する(&A)"), this)),
      layout_(new QVBoxLayout) {
    advancedBox_->setObjectName("showAdvancedBox");
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("optionsScroll");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The keyboard moves from control to control, and the page scrolls to show each; the page
    // itself takes no stop of its own.
    scroll->setFocusPolicy(Qt::NoFocus);
    connect(qApp, &QApplication::focusChanged, this, [scroll](QWidget*, QWidget* now) {
        if (now != nullptr && scroll->widget()->isAncestorOf(now)) {
            scroll->ensureWidgetVisible(now);
        }
    });
    auto* inner = new QWidget;
    inner->setLayout(layout_);
    scroll->setWidget(inner);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll, 1);
    outer->addWidget(advancedBox_);
    connect(advancedBox_, &QCheckBox::toggled, this, [this] { updateVisibility(); });
}

SaneOptionsPage::~SaneOptionsPage() = default;

bool SaneOptionsPage::shown(const SaneOption& option) const {
    return option.group() || leftOut_.count(option.name) == 0;
}

void SaneOptionsPage::setOptions(const std::vector<SaneOption>& options) {
    std::vector<SaneOption> kept;
    for (const SaneOption& option : options) {
        if (shown(option)) {
            kept.push_back(option);
        }
    }
    bool same = kept.size() == options_.size() && body_ != nullptr;
    for (size_t i = 0; same && i < kept.size(); ++i) {
        same = kept[i].sameShape(options_[i]);
    }
    if (!same) {
        rebuild(kept);
        return;
    }
    options_ = kept;
    size_t control = 0;
    for (const SaneOption& option : options_) {
        if (!option.group()) {
            controls_[control++]->showValue(option);
        }
    }
    setLocked(locked_);
}

void SaneOptionsPage::rebuild(const std::vector<SaneOption>& options) {
    const QWidget* focus = QApplication::focusWidget();
    const QString focusName = focus != nullptr && body_ != nullptr && body_->isAncestorOf(focus)
                                  ? focus->objectName()
                                  : QString();
    // Controls' handlers never run here: choices are passed on after they return.
    rows_.clear();
    delete body_;
    controls_.clear();
    options_ = options;

    body_ = new QWidget;
    auto* sections = new QVBoxLayout(body_);
    sections->setContentsMargins(0, 0, 0, 0);
    QFormLayout* form = new QFormLayout;
    QWidget* section = nullptr;
    sections->addLayout(form);
    for (const SaneOption& option : options_) {
        if (option.group()) {
            auto* box = new QGroupBox(SaneOptionControl::driverText(option.title), body_);
            form = new QFormLayout(box);
            section = box;
            sections->addWidget(box);
            continue;
        }
        const std::string name = option.name;
        auto control = std::make_unique<SaneOptionControl>(
            option, body_, [this, name](const SaneValue& value) {
                QMetaObject::invokeMethod(
                    this, [this, name, value] { emit valueChosen(name, value); },
                    Qt::QueuedConnection);
            });
        QWidget* field = control->widget();
        if (control->labelsItself()) {
            form->addRow(field);
        } else {
            auto* label = new QLabel(SaneOptionControl::driverText(option.title) + tr(":"), body_);
            label->setBuddy(field);
            form->addRow(label, field);
        }
        rows_.push_back(Row{form, field, section, option.advanced()});
        controls_.push_back(std::move(control));
    }
    sections->addStretch(1);
    layout_->addWidget(body_);
    updateVisibility();
    setLocked(locked_);
    if (!focusName.isEmpty()) {
        if (auto* again = body_->findChild<QWidget*>(focusName)) {
            again->setFocus();
        }
    }
}

void SaneOptionsPage::updateVisibility() {
    const bool all = advancedBox_->isChecked();
    std::set<QWidget*> sectionsShown;
    for (const Row& row : rows_) {
        const bool show = all || !row.advanced;
        row.form->setRowVisible(row.field, show);
        if (show) {
            sectionsShown.insert(row.section);
        }
    }
    // A group with nothing to show is not shown either.
    if (body_ != nullptr) {
        for (QGroupBox* section : body_->findChildren<QGroupBox*>()) {
            section->setVisible(sectionsShown.count(section) != 0);
        }
    }
}

void SaneOptionsPage::focusFirstControl() {
    for (const auto& control : controls_) {
        QWidget* w = control->widget();
        if (w->isEnabled() && w->isVisibleTo(this) && w->focusPolicy() != Qt::NoFocus) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    advancedBox_->setFocus(Qt::TabFocusReason);
}

void SaneOptionsPage::setLocked(bool locked) {
    locked_ = locked;
    if (body_ != nullptr) {
        body_->setEnabled(!locked);
    }
}

} // namespace twaindsm
