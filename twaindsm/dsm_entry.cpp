// The exported entry point of the data source manager library. The manager lives from the first
// call until the library is unloaded; the catalogue of sources is built at each MSG_OPENDSM.
#include "device_search.h"
#include "manager.h"
#include "source_factory.h"

#include <QApplication>
#include <memory>

namespace {

twaindsm::SourceCatalogue buildCatalogue() {
    std::vector<std::unique_ptr<twaindsm::Source>> sources =
        twaindsm::DeviceSearch::run(QApplication::activeWindow());
    sources.push_back(twaindsm::makeVirtualScanner());
    return twaindsm::SourceCatalogue(std::move(sources));
}

std::unique_ptr<twaindsm::Manager> manager;

} // namespace

extern "C" __attribute__((visibility("default"))) TW_UINT16
DSM_Entry(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
          TW_MEMREF data) {
    if (!manager) {
        try {
            manager = std::make_unique<twaindsm::Manager>(buildCatalogue);
        } catch (...) {
            return TWRC_FAILURE;
        }
    }
    return manager->entry(origin, dest, dg, dat, msg, data);
}
