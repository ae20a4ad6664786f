#include "sane_device.h"

#include "sane_host.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <strings.h>

namespace twaindsm {

namespace {

bool numericType(const SANE_Option_Descriptor* d) {
    return (d->type == SANE_TYPE_INT || d->type == SANE_TYPE_FIXED) &&
           d->size == static_cast<SANE_Int>(sizeof(SANE_Word));
}

double toDouble(const SANE_Option_Descriptor* d, SANE_Word w) {
    return d->type == SANE_TYPE_FIXED ? SANE_UNFIX(w) : static_cast<double>(w);
}

SANE_Word toWord(const SANE_Option_Descriptor* d, double v) {
    // SANE_Fixed holds 16 integer bits; SANE_Int a full word. Clamp before converting so an
    // absurd request cannot overflow.
    const double limit = d->type == SANE_TYPE_FIXED ? 32767.0 : 2147483647.0;
    v = std::fmax(-limit, std::fmin(limit, v));
    return d->type == SANE_TYPE_FIXED ? SANE_FIX(v) : static_cast<SANE_Word>(std::lround(v));
}

// The value v brought within the option's constraint (as a word).
SANE_Word constrain(const SANE_Option_Descriptor* d, double v) {
    if (d->constraint_type == SANE_CONSTRAINT_RANGE && d->constraint.range != nullptr) {
        const SANE_Range* r = d->constraint.range;
        const double lo = toDouble(d, r->min);
        const double hi = toDouble(d, r->max);
        v = std::fmax(lo, std::fmin(hi, v));
        const double step = toDouble(d, r->quant);
        if (step > 0) {
            v = std::fmin(hi, lo + std::round((v - lo) / step) * step);
        }
        return toWord(d, v);
    }
    if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST && d->constraint.word_list != nullptr) {
        const SANE_Word* list = d->constraint.word_list;
        SANE_Word best = 0;
        double bestDistance = std::numeric_limits<double>::infinity();
        for (SANE_Int i = 1; i <= list[0]; ++i) {
            const double distance = std::fabs(toDouble(d, list[i]) - v);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = list[i];
            }
        }
        if (list[0] > 0) {
            return best;
        }
    }
    return toWord(d, v);
}

} // namespace

std::unique_ptr<SaneDevice> SaneDevice::open(const std::string& name, SANE_Status& status) {
    SANE_Handle handle = nullptr;
    status = sane_host::open(name, &handle);
    if (status != SANE_STATUS_GOOD || handle == nullptr) {
        if (status == SANE_STATUS_GOOD) {
            status = SANE_STATUS_INVAL;
        }
        return nullptr;
    }
    return std::unique_ptr<SaneDevice>(new SaneDevice(handle));
}

SaneDevice::~SaneDevice() {
    sane_host::close(handle_);
}

const SANE_Option_Descriptor* SaneDevice::option(const char* name, SANE_Int* index) const {
    // Option 0 holds the number of options. Descriptors are looked up afresh every time: a
    // device may change them whenever another option is set.
    SANE_Int count = 0;
    if (sane_host::control(handle_, 0, SANE_ACTION_GET_VALUE, &count, nullptr) !=
        SANE_STATUS_GOOD) {
        return nullptr;
    }
    for (SANE_Int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor* d = sane_host::descriptor(handle_, i);
        if (d != nullptr && d->name != nullptr && std::strcmp(d->name, name) == 0) {
            if (!SANE_OPTION_IS_ACTIVE(d->cap)) {
                return nullptr;
            }
            if (index != nullptr) {
                *index = i;
            }
            return d;
        }
    }
    return nullptr;
}

const SANE_Option_Descriptor* SaneDevice::settable(const char* name, SANE_Int& index) const {
    const SANE_Option_Descriptor* d = option(name, &index);
    return d != nullptr && SANE_OPTION_IS_SETTABLE(d->cap) ? d : nullptr;
}

std::vector<std::string> SaneDevice::stringList(const char* name) const {
    std::vector<std::string> entries;
    const SANE_Option_Descriptor* d = option(name);
    if (d == nullptr || d->type != SANE_TYPE_STRING ||
        d->constraint_type != SANE_CONSTRAINT_STRING_LIST || d->constraint.string_list == nullptr) {
        return entries;
    }
    for (const SANE_String_Const* s = d->constraint.string_list; *s != nullptr; ++s) {
        entries.emplace_back(*s);
    }
    return entries;
}

bool SaneDevice::numericBounds(const char* name, double& min, double& max) const {
    const SANE_Option_Descriptor* d = option(name);
    if (d == nullptr || !numericType(d)) {
        return false;
    }
    if (d->constraint_type == SANE_CONSTRAINT_RANGE && d->constraint.range != nullptr) {
        min = toDouble(d, d->constraint.range->min);
        max = toDouble(d, d->constraint.range->max);
        return min <= max;
    }
    const std::vector<double> list = wordList(name);
    if (list.empty()) {
        return false;
    }
    min = max = list.front();
    for (double v : list) {
        min = std::fmin(min, v);
        max = std::fmax(max, v);
    }
    return true;
}

std::vector<double> SaneDevice::wordList(const char* name) const {
    std::vector<double> values;
    const SANE_Option_Descriptor* d = option(name);
    if (d == nullptr || !numericType(d) || d->constraint_type != SANE_CONSTRAINT_WORD_LIST ||
        d->constraint.word_list == nullptr) {
        return values;
    }
    const SANE_Word* list = d->constraint.word_list;
    for (SANE_Int i = 1; i <= list[0]; ++i) {
        values.push_back(toDouble(d, list[i]));
    }
    return values;
}

bool SaneDevice::getNumber(const char* name, double& value) const {
    SANE_Int index = 0;
    const SANE_Option_Descriptor* d = option(name, &index);
    if (d == nullptr || !numericType(d) || !(d->cap & SANE_CAP_SOFT_DETECT)) {
        return false;
    }
    SANE_Word word = 0;
    if (sane_host::control(handle_, index, SANE_ACTION_GET_VALUE, &word, nullptr) !=
        SANE_STATUS_GOOD) {
        return false;
    }
    value = toDouble(d, word);
    return true;
}

bool SaneDevice::getString(const char* name, std::string& value) const {
    SANE_Int index = 0;
    const SANE_Option_Descriptor* d = option(name, &index);
    if (d == nullptr || d->type != SANE_TYPE_STRING || d->size <= 0 ||
        !(d->cap & SANE_CAP_SOFT_DETECT)) {
        return false;
    }
    std::vector<char> buffer(static_cast<size_t>(d->size) + 1, '\0');
    if (sane_host::control(handle_, index, SANE_ACTION_GET_VALUE, buffer.data(), nullptr) !=
        SANE_STATUS_GOOD) {
        return false;
    }
    value.assign(buffer.data());
    return true;
}

bool SaneDevice::setString(const char* name, const std::string& value) {
    SANE_Int index = 0;
    const SANE_Option_Descriptor* d = settable(name, index);
    if (d == nullptr || d->type != SANE_TYPE_STRING || d->size <= 0) {
        return false;
    }
    // Use the device's own spelling of the entry; the buffer must be the option's full size.
    std::string entry;
    for (const std::string& candidate : stringList(name)) {
        if (strcasecmp(candidate.c_str(), value.c_str()) == 0) {
            entry = candidate;
            break;
        }
    }
    if (entry.empty() || entry.size() >= static_cast<size_t>(d->size)) {
        return false;
    }
    std::vector<char> buffer(static_cast<size_t>(d->size), '\0');
    std::memcpy(buffer.data(), entry.data(), entry.size());
    return sane_host::control(handle_, index, SANE_ACTION_SET_VALUE, buffer.data(), nullptr) ==
           SANE_STATUS_GOOD;
}

bool SaneDevice::setNumber(const char* name, double value, double* actual) {
    SANE_Int index = 0;
    const SANE_Option_Descriptor* d = settable(name, index);
    if (d == nullptr || !numericType(d) || !std::isfinite(value)) {
        return false;
    }
    SANE_Word word = constrain(d, value);
    SANE_Int info = 0;
    if (sane_host::control(handle_, index, SANE_ACTION_SET_VALUE, &word, &info) !=
        SANE_STATUS_GOOD) {
        return false;
    }
    // A device that adjusted the value writes it back into word; reading it again also covers
    // devices that only raise the flag.
    if (info & SANE_INFO_INEXACT) {
        double settled = 0;
        if (getNumber(name, settled)) {
            word = toWord(d, settled);
        }
    }
    if (actual != nullptr) {
        *actual = toDouble(d, word);
    }
    return true;
}

bool SaneDevice::setBool(const char* name, bool value) {
    SANE_Int index = 0;
    const SANE_Option_Descriptor* d = settable(name, index);
    if (d == nullptr || d->type != SANE_TYPE_BOOL) {
        return false;
    }
    SANE_Bool word = value ? SANE_TRUE : SANE_FALSE;
    return sane_host::control(handle_, index, SANE_ACTION_SET_VALUE, &word, nullptr) ==
           SANE_STATUS_GOOD;
}

namespace {

SaneOption describe(SANE_Handle handle, SANE_Int index, const SANE_Option_Descriptor* d) {
    SaneOption option;
    option.index = index;
    option.name = d->name != nullptr ? d->name : "";
    option.title = d->title != nullptr ? d->title : "";
    option.description = d->desc != nullptr ? d->desc : "";
    option.type = d->type;
    option.unit = d->unit;
    option.size = d->size;
    option.cap = d->cap;
    option.constraint = d->constraint_type;
    const bool numbers = d->type == SANE_TYPE_INT || d->type == SANE_TYPE_FIXED;
    if (numbers && d->constraint_type == SANE_CONSTRAINT_RANGE && d->constraint.range != nullptr) {
        option.min = toDouble(d, d->constraint.range->min);
        option.max = toDouble(d, d->constraint.range->max);
        option.step = toDouble(d, d->constraint.range->quant);
    } else if (numbers && d->constraint_type == SANE_CONSTRAINT_WORD_LIST &&
               d->constraint.word_list != nullptr) {
        for (SANE_Int i = 1; i <= d->constraint.word_list[0]; ++i) {
            option.words.push_back(toDouble(d, d->constraint.word_list[i]));
        }
    } else if (d->type == SANE_TYPE_STRING && d->constraint_type == SANE_CONSTRAINT_STRING_LIST &&
               d->constraint.string_list != nullptr) {
        for (const SANE_String_Const* s = d->constraint.string_list; *s != nullptr; ++s) {
            option.strings.emplace_back(*s);
        }
    } else {
        option.constraint = SANE_CONSTRAINT_NONE;
    }
    // Inactive options hold no value worth showing; they are read once they are active.
    if (option.group() || d->type == SANE_TYPE_BUTTON || !option.active() ||
        !(d->cap & SANE_CAP_SOFT_DETECT) || d->size <= 0) {
        return option;
    }
    if (option.numeric()) {
        const SANE_Value_Type type = d->type;
        std::vector<SANE_Word> words(size_t(option.count()), 0);
        if (sane_host::control(handle, index, SANE_ACTION_GET_VALUE, words.data(), nullptr) ==
            SANE_STATUS_GOOD) {
            for (SANE_Word w : words) {
                option.value.numbers.push_back(type == SANE_TYPE_BOOL    ? (w != 0 ? 1.0 : 0.0)
                                               : type == SANE_TYPE_FIXED ? SANE_UNFIX(w)
                                                                         : static_cast<double>(w));
            }
            option.readable = true;
        }
    } else if (d->type == SANE_TYPE_STRING) {
        std::vector<char> buffer(static_cast<size_t>(d->size) + 1, '\0');
        if (sane_host::control(handle, index, SANE_ACTION_GET_VALUE, buffer.data(), nullptr) ==
            SANE_STATUS_GOOD) {
            option.value.text.assign(buffer.data());
            option.readable = true;
        }
    }
    return option;
}

SaneSetResult answer(SANE_Status status, SANE_Int info) {
    SaneSetResult result;
    result.status = status;
    result.inexact = status == SANE_STATUS_GOOD && (info & SANE_INFO_INEXACT) != 0;
    result.reload = status == SANE_STATUS_GOOD && (info & SANE_INFO_RELOAD_OPTIONS) != 0;
    return result;
}

// One set, with the flags of the device's answer.
SaneSetResult setOption(SANE_Handle handle, SANE_Int index, SANE_Action action, void* value) {
    SANE_Int info = 0;
    const SANE_Status status = sane_host::control(handle, index, action, value, &info);
    return answer(status, info);
}

} // namespace

std::vector<SaneOption> SaneDevice::options() const {
    std::vector<SaneOption> all;
    SANE_Int count = 0;
    // The descriptor first: a network backend reloads its descriptors then.
    if (sane_host::descriptor(handle_, 0) == nullptr ||
        sane_host::control(handle_, 0, SANE_ACTION_GET_VALUE, &count, nullptr) !=
            SANE_STATUS_GOOD) {
        return all;
    }
    // No device has thousands of options; a count that says so is not believed.
    count = std::min<SANE_Int>(count, 4096);
    for (SANE_Int i = 1; i < count; ++i) {
        if (const SANE_Option_Descriptor* d = sane_host::descriptor(handle_, i)) {
            all.push_back(describe(handle_, i, d));
        }
    }
    return all;
}

SaneSetResult SaneDevice::set(const std::string& name, const SaneValue& value, bool automatic) {
    SANE_Int index = 0;
    const SANE_Option_Descriptor* d = settable(name.c_str(), index);
    if (d == nullptr || d->type == SANE_TYPE_GROUP) {
        return answer(SANE_STATUS_INVAL, 0);
    }
    if (automatic) {
        if (!(d->cap & SANE_CAP_AUTOMATIC)) {
            return answer(SANE_STATUS_INVAL, 0);
        }
        return setOption(handle_, index, SANE_ACTION_SET_AUTO, nullptr);
    }
    switch (d->type) {
    case SANE_TYPE_BUTTON:
        return setOption(handle_, index, SANE_ACTION_SET_VALUE, nullptr);
    case SANE_TYPE_STRING: {
        if (d->size <= 0 || value.text.size() >= static_cast<size_t>(d->size)) {
            return answer(SANE_STATUS_INVAL, 0);
        }
        std::vector<char> buffer(static_cast<size_t>(d->size), '\0');
        std::memcpy(buffer.data(), value.text.data(), value.text.size());
        return setOption(handle_, index, SANE_ACTION_SET_VALUE, buffer.data());
    }
    case SANE_TYPE_BOOL:
    case SANE_TYPE_INT:
    case SANE_TYPE_FIXED: {
        const size_t count = d->size > 0 ? size_t(d->size) / sizeof(SANE_Word) : 0;
        if (count == 0 || value.numbers.size() != count) {
            return answer(SANE_STATUS_INVAL, 0);
        }
        std::vector<SANE_Word> words;
        for (double v : value.numbers) {
            if (!std::isfinite(v)) {
                return answer(SANE_STATUS_INVAL, 0);
            }
            words.push_back(d->type == SANE_TYPE_BOOL ? (v != 0 ? SANE_TRUE : SANE_FALSE)
                                                      : constrain(d, v));
        }
        return setOption(handle_, index, SANE_ACTION_SET_VALUE, words.data());
    }
    default:
        return answer(SANE_STATUS_INVAL, 0);
    }
}

} // namespace twaindsm
