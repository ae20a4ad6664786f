#include "progress.h"

#include "pelmix.h"

#include <mutex>

namespace pelmix {

namespace {

std::mutex handlerMutex;
PelmixProgressHandler handler = nullptr;
void* handlerContext = nullptr;

void report(const char* caption, const char* text, int32_t percent) {
    PelmixProgressHandler h;
    void* context;
    {
        std::lock_guard<std::mutex> lock(handlerMutex);
        h = handler;
        context = handlerContext;
    }
    if (h != nullptr) {
        h(context, caption, text, percent);
    }
}

bool nonEmpty(const char* s) {
    return s != nullptr && *s != '\0';
}

} // namespace

Progress::Progress(const char* caption, const char* text)
    : caption_(caption ? caption : ""), text_(text ? text : ""),
      active_(nonEmpty(caption) || nonEmpty(text)) {
    if (active_) {
        report(caption_, text_, 0);
    }
}

Progress::~Progress() {
    if (active_) {
        report(caption_, text_, 100);
    }
}

void Progress::step(int32_t percent) const {
    if (active_) {
        report(caption_, text_, percent < 0 ? 0 : percent > 100 ? 100 : percent);
    }
}

} // namespace pelmix

PELMIX_API void PELMIX_CALL PelmixSetProgressHandler(PelmixProgressHandler h, void* context) {
    std::lock_guard<std::mutex> lock(pelmix::handlerMutex);
    pelmix::handler = h;
    pelmix::handlerContext = context;
}
