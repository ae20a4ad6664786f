// Readable views of the fake manager's record, for comparing call sequences in tests.
#include "fake_dsm.h"

#include <cstdio>

namespace fakedsm {

namespace {

std::string capabilityName(TW_UINT16 cap) {
    switch (cap) {
    case CAP_XFERCOUNT:
        return "CAP_XFERCOUNT";
    case ICAP_PIXELTYPE:
        return "ICAP_PIXELTYPE";
    case ICAP_UNITS:
        return "ICAP_UNITS";
    case CAP_FEEDERENABLED:
        return "CAP_FEEDERENABLED";
    case CAP_FEEDERLOADED:
        return "CAP_FEEDERLOADED";
    case CAP_AUTOFEED:
        return "CAP_AUTOFEED";
    case CAP_INDICATORS:
        return "CAP_INDICATORS";
    case ICAP_AUTOBRIGHT:
        return "ICAP_AUTOBRIGHT";
    case ICAP_BRIGHTNESS:
        return "ICAP_BRIGHTNESS";
    case ICAP_CONTRAST:
        return "ICAP_CONTRAST";
    case ICAP_GAMMA:
        return "ICAP_GAMMA";
    case ICAP_HIGHLIGHT:
        return "ICAP_HIGHLIGHT";
    case ICAP_SHADOW:
        return "ICAP_SHADOW";
    case ICAP_XRESOLUTION:
        return "ICAP_XRESOLUTION";
    case ICAP_YRESOLUTION:
        return "ICAP_YRESOLUTION";
    case ICAP_THRESHOLD:
        return "ICAP_THRESHOLD";
    case ICAP_BITDEPTH:
        return "ICAP_BITDEPTH";
    default: {
        char text[16];
        std::snprintf(text, sizeof(text), "0x%04X", cap);
        return text;
    }
    }
}

std::string messageName(TW_UINT16 msg) {
    switch (msg) {
    case MSG_GET:
        return "GET";
    case MSG_GETCURRENT:
        return "GETCURRENT";
    case MSG_GETDEFAULT:
        return "GETDEFAULT";
    case MSG_GETFIRST:
        return "GETFIRST";
    case MSG_GETNEXT:
        return "GETNEXT";
    case MSG_SET:
        return "SET";
    case MSG_OPENDSM:
        return "OPENDSM";
    case MSG_CLOSEDSM:
        return "CLOSEDSM";
    case MSG_OPENDS:
        return "OPENDS";
    case MSG_CLOSEDS:
        return "CLOSEDS";
    case MSG_USERSELECT:
        return "USERSELECT";
    case MSG_ENABLEDS:
        return "ENABLEDS";
    case MSG_DISABLEDS:
        return "DISABLEDS";
    case MSG_PROCESSEVENT:
        return "PROCESSEVENT";
    case MSG_ENDXFER:
        return "ENDXFER";
    case MSG_RESET:
        return "RESET";
    default: {
        char text[16];
        std::snprintf(text, sizeof(text), "MSG 0x%04X", msg);
        return text;
    }
    }
}

std::string nameOf(const Call& call) {
    if (call.dat == DAT_CAPABILITY) {
        return messageName(call.msg) + " " + capabilityName(call.cap);
    }
    if (call.dat == DAT_IMAGELAYOUT) {
        return messageName(call.msg) + " FRAME";
    }
    if (call.dat == DAT_IMAGENATIVEXFER) {
        return "XFER";
    }
    if (call.dat == DAT_STATUS) {
        return call.hasDest ? "STATUS source" : "STATUS manager";
    }
    return messageName(call.msg);
}

} // namespace

std::vector<std::string> FakeDsm::names(bool withEvents) const {
    std::vector<std::string> out;
    for (const Call& call : calls) {
        if (withEvents || call.dat != DAT_EVENT) {
            out.push_back(nameOf(call));
        }
    }
    return out;
}

std::vector<std::string> FakeDsm::lifecycle() const {
    std::vector<std::string> out;
    for (const Call& call : calls) {
        switch (call.msg) {
        case MSG_OPENDSM:
        case MSG_CLOSEDSM:
        case MSG_OPENDS:
        case MSG_CLOSEDS:
        case MSG_ENABLEDS:
        case MSG_DISABLEDS:
            if (call.dg == DG_CONTROL) {
                out.push_back(messageName(call.msg));
            }
            break;
        default:
            break;
        }
    }
    return out;
}

std::vector<const Call*> FakeDsm::capabilityCalls(bool withGets) const {
    std::vector<const Call*> out;
    for (const Call& call : calls) {
        if (call.dg == DG_CONTROL && call.dat == DAT_CAPABILITY &&
            (withGets || call.msg == MSG_SET)) {
            out.push_back(&call);
        }
    }
    return out;
}

const Call* FakeDsm::lastSet(TW_UINT16 cap) const {
    const Call* found = nullptr;
    for (const Call& call : calls) {
        if (call.dat == DAT_CAPABILITY && call.msg == MSG_SET && call.cap == cap) {
            found = &call;
        }
    }
    return found;
}

size_t FakeDsm::count(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg) const {
    size_t n = 0;
    for (const Call& call : calls) {
        n += call.dg == dg && call.dat == dat && call.msg == msg ? 1 : 0;
    }
    return n;
}

} // namespace fakedsm
