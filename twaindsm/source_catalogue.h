// The sources the manager offers while it is open, in the order they are listed: SANE devices
// first, the virtual scanner last. The first one is the default when the user chose none.
#pragma once

#include "source.h"

#include <memory>
#include <string>
#include <vector>

namespace twaindsm {

class SourceCatalogue {
public:
    SourceCatalogue() = default;
    explicit SourceCatalogue(std::vector<std::unique_ptr<Source>> sources);

    size_t size() const { return sources_.size(); }
    bool empty() const { return sources_.empty(); }
    Source& at(size_t index) const { return *sources_.at(index); }

    // The index of the source whose ProductName is exactly name; size() when there is none.
    size_t find(const std::string& name) const;
    std::string productName(size_t index) const;
    std::string displayName(size_t index) const;

private:
    std::vector<std::unique_ptr<Source>> sources_;
};

} // namespace twaindsm
