#include "device_search.h"

#include "sane_host.h"
#include "source_factory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <thread>

namespace twaindsm {

std::vector<std::unique_ptr<Source>> DeviceSearch::run(QWidget* owner) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app == nullptr || QThread::currentThread() != app->thread()) {
        return discoverSaneSources();
    }
    std::vector<std::unique_ptr<Source>> found;
    std::atomic<bool> done{false};
    std::thread search([&] {
        found = discoverSaneSources();
        done = true;
    });

    QEventLoop loop;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    QProgressDialog* window = nullptr;
    bool cancelled = false;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done) {
            loop.quit();
            return;
        }
        if (window == nullptr && !cancelled && clock.elapsed() >= kQuietTime.count()) {
            window = new QProgressDialog(
                QCoreApplication::translate("DeviceSearch", "スキャナーを探しています…"),
                QCoreApplication::translate("DeviceSearch", "キャンセル"), 0, 0, owner);
            window->setObjectName(QStringLiteral("deviceSearch"));
            window->setWindowTitle(QCoreApplication::translate("DeviceSearch", "Orvana"));
            window->setWindowModality(Qt::ApplicationModal);
            window->setMinimumDuration(0);
            window->setAutoClose(false);
            window->setAutoReset(false);
            QObject::connect(window, &QProgressDialog::canceled, &loop, [&] {
                cancelled = true;
                sane_host::abandon();
                window->setLabelText(
                    QCoreApplication::translate("DeviceSearch", "検索を中止しています…"));
                window->setCancelButton(nullptr);
            });
            window->show();
        }
    });
    poll.start(20);
    loop.exec();
    search.join();
    delete window;
    if (cancelled) {
        found.clear(); // what a cancelled search found is not offered
    }
    return found;
}

} // namespace twaindsm
