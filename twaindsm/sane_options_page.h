// The source window's page of every option the driver has, built from its descriptors: groups as
// sections, each option with its own control (see SaneOptionControl), inactive ones greyed, the
// driver's advanced ones behind "show advanced options". Options the window offers elsewhere are
// left out. It reports what the user chose and shows what the device holds; the source sets.
#pragma once

#include "sane_option.h"

#include <QWidget>
#include <memory>
#include <set>
#include <string>
#include <vector>

class QCheckBox;
class QFormLayout;
class QVBoxLayout;

namespace twaindsm {

class SaneOptionControl;

class SaneOptionsPage : public QWidget {
    Q_OBJECT
public:
    // leftOut: names of options shown elsewhere in the window.
    SaneOptionsPage(std::set<std::string> leftOut, QWidget* parent = nullptr);
    ~SaneOptionsPage() override;

    // Shows the options as the device describes them now. Where they are the same options as
    // before, only values and states change (the focus stays where it is); else the page is
    // built again, the focus kept on the option of the same name.
    void setOptions(const std::vector<SaneOption>& options);
    // Gives the focus to the first control that takes it, as the page is opened.
    void focusFirstControl();
    // While a batch runs nothing can be chosen.
    void setLocked(bool locked);

signals:
    // After the control's own handling is over, so the page may be rebuilt in answer.
    void valueChosen(const std::string& name, const twaindsm::SaneValue& value);

private:
    void rebuild(const std::vector<SaneOption>& options);
    void updateVisibility();
    bool shown(const SaneOption& option) const;

    std::set<std::string> leftOut_;
    QCheckBox* advancedBox_;
    QWidget* body_ = nullptr;
    QVBoxLayout* layout_;
    std::vector<SaneOption> options_;
    std::vector<std::unique_ptr<SaneOptionControl>> controls_; // one per shown option
    struct Row {
        QFormLayout* form;
        QWidget* field;
        QWidget* section; // its group's box, or null
        bool advanced;
    };
    std::vector<Row> rows_;
    bool locked_ = false;
};

} // namespace twaindsm
