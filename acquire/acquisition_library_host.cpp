#include "acquisition_library_host.h"

#include "winport_host.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>

namespace {

void pump(void*) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Called from the thread that posted a message, so it only wakes the waiting event loop.
void wake(void*) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) {
        return;
    }
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(app->thread())) {
        dispatcher->wakeUp();
    }
}

int showBox(void* context, HWND, LPCSTR text, LPCSTR caption, UINT type) {
    auto* prompter = static_cast<Prompter*>(context);
    const int answer = prompter->message(nullptr, messageFromBox(text, caption, type));
    return boxResult(answer, type);
}

} // namespace

void registerAcquisitionHost(Prompter& prompter) {
    WinportSetMessagePump(pump, wake, nullptr);
    WinportSetMessageBoxHandler(showBox, &prompter);
}

namespace {

// The acquisition library's own texts in the program's language; a driver's as they come.
QString boxText(const char* text) {
    if (text == nullptr) {
        return QString();
    }
    const QString translated = QCoreApplication::translate("PMXACQ", text);
    return translated != QString::fromUtf8(text) ? translated : QString::fromLocal8Bit(text);
}

} // namespace

Prompter::Message messageFromBox(const char* text, const char* caption, UINT type) {
    Prompter::Message m;
    m.caption = boxText(caption);
    m.text = boxText(text);
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        m.buttons = Prompter::Buttons::OkCancel;
        break;
    case MB_YESNOCANCEL:
        m.buttons = Prompter::Buttons::YesNoCancel;
        break;
    case MB_YESNO:
        m.buttons = Prompter::Buttons::YesNo;
        break;
    case 5: // MB_RETRYCANCEL
        m.buttons = Prompter::Buttons::RetryCancel;
        break;
    default:
        m.buttons = Prompter::Buttons::Ok;
        break;
    }
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        m.icon = Prompter::Icon::Critical;
        break;
    case MB_ICONQUESTION:
        m.icon = Prompter::Icon::Question;
        break;
    case MB_ICONEXCLAMATION:
        m.icon = Prompter::Icon::Exclamation;
        break;
    case MB_ICONASTERISK:
        m.icon = Prompter::Icon::Information;
        break;
    default:
        m.icon = Prompter::Icon::None;
        break;
    }
    const int buttonCount = m.buttons == Prompter::Buttons::Ok            ? 1
                            : m.buttons == Prompter::Buttons::YesNoCancel ? 3
                                                                          : 2;
    const int defaultButton = static_cast<int>((type & MB_DEFMASK) >> 8) + 1;
    m.defaultButton = defaultButton <= buttonCount ? defaultButton : 1;
    return m;
}

int boxResult(int answer, UINT type) {
    switch (answer) {
    case Prompter::Ok:
        return IDOK;
    case Prompter::Cancel:
        return IDCANCEL;
    case Prompter::Retry:
        return 4; // IDRETRY
    case Prompter::Yes:
        return IDYES;
    case Prompter::No:
        return IDNO;
    default:
        // A box closed some other way: the answer a closed box of that kind gives.
        switch (type & MB_TYPEMASK) {
        case MB_YESNO:
            return IDNO;
        case MB_OK:
            return IDOK;
        default:
            return IDCANCEL;
        }
    }
}
