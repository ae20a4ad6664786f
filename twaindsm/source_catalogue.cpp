#include "source_catalogue.h"

#include <cstring>

namespace twaindsm {

std::string Source::displayName() const {
    const TW_IDENTITY id = identity();
    return std::string(id.ProductName, strnlen(id.ProductName, sizeof id.ProductName));
}

SourceCatalogue::SourceCatalogue(std::vector<std::unique_ptr<Source>> sources) {
    // A factory may hand over empty slots (a device that vanished while being set up).
    for (auto& source : sources) {
        if (source)
            sources_.push_back(std::move(source));
    }
}

std::string SourceCatalogue::productName(size_t index) const {
    const TW_IDENTITY identity = at(index).identity();
    return std::string(identity.ProductName,
                       strnlen(identity.ProductName, sizeof identity.ProductName));
}

std::string SourceCatalogue::displayName(size_t index) const {
    return at(index).displayName();
}

size_t SourceCatalogue::find(const std::string& name) const {
    for (size_t i = 0; i < sources_.size(); ++i) {
        if (productName(i) == name)
            return i;
    }
    return sources_.size();
}

} // namespace twaindsm
