// Arbitrary bytes as a shared thumbnail another program wrote: Qt's PNG reader, then the checks of
// the keys (Thumb::URI, Thumb::MTime, Thumb::Size) and of the recorded picture size.
#include "thumbnail_record.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    FileStamp stamp;
    stamp.valid = true;
    stamp.size = 123456;
    stamp.seconds = 1700000000;
    for (const int flavour : {256, 512}) {
        device.seek(0);
        const QImage image = thumbnail_record::read(
            device, QByteArrayLiteral("file:///pictures/a.jpg"), stamp, flavour);
        if (!image.isNull()) {
            const QSize natural =
                thumbnail_record::pictureSize(image, [] { return QSize(1200, 900); });
            if (!natural.isEmpty() && (natural.width() <= 0 || natural.height() <= 0)) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
