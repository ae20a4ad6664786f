#include "source_list.h"

#include <cstring>

namespace pmxacq {
namespace {

// A manager that never reports the end of its list must not make the text grow without bound.
constexpr int kMostSources = 1024;

void appendName(std::string& text, const TW_IDENTITY& identity) {
    text.append(identity.ProductName, strnlen(identity.ProductName, sizeof identity.ProductName));
}

} // namespace

SourceList listSources(Session& session) {
    SourceList list;
    if (!session.openManager()) {
        return list;
    }
    list.opened = true;
    TW_IDENTITY& source = session.source();
    if (session.chooseDefaultSource()) {
        appendName(list.text, source);
    }
    list.text += ',';
    if (session.call(false, DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &source) == TWRC_SUCCESS) {
        list.enumerated = true;
        appendName(list.text, source);
        list.text += ',';
        for (int n = 1; n < kMostSources; ++n) {
            if (session.call(false, DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, &source) !=
                TWRC_SUCCESS) {
                break;
            }
            appendName(list.text, source);
            list.text += ',';
        }
    }
    session.closeManager();
    return list;
}

std::string fitList(const std::string& text, size_t limit) {
    if (text.size() <= limit) {
        return text;
    }
    const size_t comma = limit == 0 ? std::string::npos : text.rfind(',', limit - 1);
    return comma == std::string::npos ? std::string() : text.substr(0, comma + 1);
}

} // namespace pmxacq
