// One open SANE device: owns the handle and reads or sets its options by name. Option values are
// numbers in the option's own unit whether the device keeps them as SANE_Int or SANE_Fixed.
// Not thread-safe: one thread at a time uses a device (the scan worker takes it over while it
// reads a batch).
#pragma once

#include "sane_option.h"

#include <memory>
#include <sane/sane.h>
#include <string>
#include <vector>

namespace twaindsm {

class SaneDevice {
public:
    // Opens the named device; null with SANE's status when it cannot be opened.
    static std::unique_ptr<SaneDevice> open(const std::string& name, SANE_Status& status);

    ~SaneDevice();
    SaneDevice(const SaneDevice&) = delete;
    SaneDevice& operator=(const SaneDevice&) = delete;

    SANE_Handle handle() const { return handle_; }

    // The descriptor of the active option of that name (and its index), or null.
    const SANE_Option_Descriptor* option(const char* name, SANE_Int* index = nullptr) const;
    bool has(const char* name) const { return option(name) != nullptr; }

    // The entries of a string-list option; empty when absent or not a list.
    std::vector<std::string> stringList(const char* name) const;
    // The values a numeric single-value option allows: its range, or its word list in order.
    // False when absent or unconstrained.
    bool numericBounds(const char* name, double& min, double& max) const;
    // The entries of a numeric word-list option; empty when absent or not a word list.
    std::vector<double> wordList(const char* name) const;

    bool getNumber(const char* name, double& value) const;
    bool getString(const char* name, std::string& value) const;

    // Sets a string-list option to the entry equal to value, ignoring case; false when the option
    // is absent, inactive, not settable, has no such entry or the device refuses it.
    bool setString(const char* name, const std::string& value);
    // Sets a numeric single-value option, first brought within its range (and step) or to the
    // nearest word-list entry. When the device settles on another value (SANE_INFO_INEXACT), that
    // value is read back: actual always receives what the device now holds.
    bool setNumber(const char* name, double value, double* actual = nullptr);
    bool setBool(const char* name, bool value);

    // Every option the device describes, groups included, in its order, each with the value it
    // holds (read afresh: a device may change them whenever another option is set).
    std::vector<SaneOption> options() const;
    // Sets the option of that name as the user chose: numbers brought within the constraint,
    // text as given, a button pressed; automatic asks the device to choose the value itself.
    // INVAL without asking the device when the option is absent, inactive or not settable.
    SaneSetResult set(const std::string& name, const SaneValue& value, bool automatic = false);

private:
    explicit SaneDevice(SANE_Handle handle) : handle_(handle) {}

    const SANE_Option_Descriptor* settable(const char* name, SANE_Int& index) const;

    SANE_Handle handle_;
};

} // namespace twaindsm
