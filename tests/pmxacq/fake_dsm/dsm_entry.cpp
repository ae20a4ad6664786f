// The manager's one export, handing every call to the scripted fake.
#include "fake_dsm.h"

extern "C" __attribute__((visibility("default"))) TW_UINT16
DSM_Entry(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
          TW_MEMREF data) {
    return fakedsm::FakeDsm::instance().entry(origin, dest, dg, dat, msg, data);
}
