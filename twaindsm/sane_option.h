// One option of a SANE device as its descriptor describes it, with the value it holds: what the
// source's options page shows, and what a user's choice sets. Numbers are in the option's own
// unit whether the device keeps them as SANE_Int or SANE_Fixed; an array holds one number a word.
#pragma once

#include <sane/sane.h>
#include <string>
#include <vector>

namespace twaindsm {

// A value for an option: numbers for booleans (0 or 1), integers and fixed-point values, text for
// strings; buttons take none.
struct SaneValue {
    std::vector<double> numbers;
    std::string text;
    bool operator==(const SaneValue&) const = default;
};

struct SaneOption {
    int index = 0;
    std::string name; // empty for a group
    std::string title;
    std::string description;
    SANE_Value_Type type = SANE_TYPE_INT;
    SANE_Unit unit = SANE_UNIT_NONE;
    SANE_Int size = 0; // bytes
    SANE_Int cap = 0;
    SANE_Constraint_Type constraint = SANE_CONSTRAINT_NONE;
    double min = 0, max = 0, step = 0; // a range
    std::vector<double> words;         // a word list
    std::vector<std::string> strings;  // a string list
    SaneValue value;                   // what the device holds, where it can be read
    bool readable = false;

    bool group() const { return type == SANE_TYPE_GROUP; }
    bool active() const { return SANE_OPTION_IS_ACTIVE(cap); }
    // The user may change it here: active and set by software.
    bool settable() const { return active() && SANE_OPTION_IS_SETTABLE(cap); }
    bool advanced() const { return (cap & SANE_CAP_ADVANCED) != 0; }
    bool automatic() const { return (cap & SANE_CAP_AUTOMATIC) != 0; }
    bool numeric() const {
        return type == SANE_TYPE_BOOL || type == SANE_TYPE_INT || type == SANE_TYPE_FIXED;
    }
    // Values an array option holds (1 for a single value).
    int count() const { return numeric() && size > 0 ? int(size / sizeof(SANE_Word)) : 1; }

    // Whether the two describe the same control: everything but the value and whether it is
    // active.
    bool sameShape(const SaneOption& other) const;
};

// What became of a set: the device's status and its answer's flags.
struct SaneSetResult {
    SANE_Status status = SANE_STATUS_GOOD;
    bool inexact = false; // the device settled on another value
    bool reload = false;  // other options changed: read them all again
    bool ok() const { return status == SANE_STATUS_GOOD; }
};

} // namespace twaindsm
