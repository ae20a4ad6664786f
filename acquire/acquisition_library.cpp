#include "acquisition_library.h"

#include "acquisition_library_host.h"
#include "native_name.h"
#include "prompter.h"

#include <QByteArray>
#include <cstdint>
#include <vector>

namespace {

// The exports' signatures as the library declares them.
using ScanListLenProc = int32_t (*)(HWND);
using ScanListProc = int32_t (*)(HWND, char*);
using ScanSelectProc = int32_t (*)(HWND);
using ScanMultiProc = int32_t (*)(HWND, const char*);

struct LibraryCloser {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using LibraryHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryCloser>;

template <typename Proc> Proc bind(HMODULE module, const char* name) {
    // Through the generic function type, which the compiler accepts as a cast between any two.
    using Generic = void (*)();
    return reinterpret_cast<Proc>(reinterpret_cast<Generic>(GetProcAddress(module, name)));
}

// A source list longer than this is not a list of device names.
constexpr int32_t kLongestList = 1 << 20;

} // namespace

struct AcquisitionLibrary::Bound {
    LibraryHandle module;
    ScanListLenProc scanListLen = nullptr;
    ScanListProc scanList = nullptr;
    ScanSelectProc scanSelect = nullptr;
    ScanMultiProc scanMulti = nullptr;
};

AcquisitionLibrary::AcquisitionLibrary(QString programDir, Prompter& prompter)
    : programDir_(std::move(programDir)), prompter_(prompter) {}

AcquisitionLibrary::~AcquisitionLibrary() = default;

bool AcquisitionLibrary::load() {
    if (bound_) {
        return true;
    }
    if (tried_) {
        return false;
    }
    tried_ = true;
    const QByteArray path = (programDir_ + QStringLiteral("PMXACQ.DLL")).toLocal8Bit();
    auto bound = std::make_unique<Bound>();
    bound->module.reset(LoadLibraryA(path.constData()));
    if (!bound->module) {
        return false;
    }
    HMODULE module = bound->module.get();
    bound->scanListLen = bind<ScanListLenProc>(module, "PelmixScanListLen");
    bound->scanList = bind<ScanListProc>(module, "PelmixScanList");
    bound->scanSelect = bind<ScanSelectProc>(module, "PelmixScanSelect");
    bound->scanMulti = bind<ScanMultiProc>(module, "PelmixScanMulti");
    if (!bound->scanListLen || !bound->scanList || !bound->scanSelect || !bound->scanMulti) {
        return false;
    }
    registerAcquisitionHost(prompter_);
    bound_ = std::move(bound);
    return true;
}

bool AcquisitionLibrary::sourceList(HWND window, QString& list) {
    list.clear();
    if (!load()) {
        return false;
    }
    const int32_t length = bound_->scanListLen(window);
    if (length <= 0 || length > kLongestList) {
        return false;
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    if (bound_->scanList(window, buffer.data()) == 0) {
        return false;
    }
    buffer.back() = '\0';
    list = QString::fromLocal8Bit(buffer.data());
    return true;
}

bool AcquisitionLibrary::selectSource(HWND window) {
    return load() && bound_->scanSelect(window) == 1;
}

int AcquisitionLibrary::scanPages(HWND window, const QString& baseName) {
    if (!load()) {
        return 0;
    }
    const QByteArray base = native_name::toBytes(baseName);
    return bound_->scanMulti(window, base.constData());
}

QString AcquisitionLibrary::defaultSource(const QString& list) {
    return list.section(QLatin1Char(','), 0, 0);
}
