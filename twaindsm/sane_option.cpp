#include "sane_option.h"

namespace twaindsm {

bool SaneOption::sameShape(const SaneOption& other) const {
    auto settableBits = [](SANE_Int cap) {
        return cap & (SANE_CAP_SOFT_SELECT | SANE_CAP_HARD_SELECT | SANE_CAP_SOFT_DETECT |
                      SANE_CAP_EMULATED | SANE_CAP_AUTOMATIC | SANE_CAP_ADVANCED);
    };
    return index == other.index && name == other.name && title == other.title &&
           description == other.description && type == other.type && unit == other.unit &&
           size == other.size && settableBits(cap) == settableBits(other.cap) &&
           constraint == other.constraint && min == other.min && max == other.max &&
           step == other.step && words == other.words && strings == other.strings;
}

} // namespace twaindsm
