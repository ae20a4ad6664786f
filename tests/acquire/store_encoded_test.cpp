// Pages encoded while the scan goes on: stored exactly as the conversion after the batch would
// store them, and never used where they no longer are the page.
#include "page_encoder.h"
#include "page_file_names.h"
#include "store_fixture.h"

#include <QImage>
#include <algorithm>
#include <functional>
#include <map>

namespace {

class StoreEncodedTest : public AcquireStoreTest {
protected:
    // Every file of folder, hidden ones too, with its bytes.
    std::map<QString, std::string> contents(const QString& folder) const {
        std::map<QString, std::string> all;
        for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
            all[name] = readBytes((folder + name).toStdString());
        return all;
    }

    // Stores the pages of one step, written while an encoder runs when encoded is true; between
    // the batch's end and the store, meanwhile() may change what the encodings were made from.
    // Returns the files left in the folder.
    std::map<QString, std::string> runStep(const std::vector<Page>& pages, bool encoded,
                                           const std::function<void()>& meanwhile) {
        prompter.requests.clear();
        std::unique_ptr<PageEncoder> encoder;
        if (encoded)
            encoder = std::make_unique<PageEncoder>(acq, program.settings.JPGP);
        for (size_t k = 0; k < pages.size(); ++k)
            writePage(int(k), pages[k]);
        if (encoder)
            encoder->finish(int(pages.size()));
        encodingsMade = 0;
        for (const QString& name : QDir(acq).entryList(QDir::Files | QDir::Hidden))
            encodingsMade += PageEncoder::isEncoding(name) ? 1 : 0;
        if (meanwhile)
            meanwhile();
        KeptPages kept(program);
        PageStore store(program, kept);
        store.useEncodings(encoder.get());
        int64_t next = 1;
        storeStep(store, int(pages.size()), next);
        encoder.reset();
        return contents(acq);
    }

    int encodingsMade = 0; // by the last step, before its pages were stored

    void clearFolder() {
        for (const QString& name : QDir(acq).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(acq + name);
    }
};

TEST_F(StoreEncodedTest, EachStepStoresWhatTheConversionAfterTheBatchStores) {
    using P = Page;
    struct Case {
        const char* what;
        int format;
        std::vector<Page> pages;
        std::function<void()> meanwhile;
    };
    const Case cases[] = {
        {"JPEG pages", 1, {P::Colour, P::Grey, P::Colour}, nullptr},
        // The step falls back to BMP at the first page JPEG cannot hold, with its one message.
        {"a black and white page among them", 1, {P::Grey, P::BlackWhite, P::Colour}, nullptr},
        {"the quality changed in the settings meanwhile",
         1,
         {P::Colour, P::Grey},
         [this] { program.settings.JPGP = 30; }},
        {"the save format changed in the settings meanwhile",
         1,
         {P::Colour},
         [this] { program.settings.SVMD = 0; }},
        {"a page file written again after its encoding",
         1,
         {P::Colour, P::Grey},
         [this] {
             ImageHandle other = makePage(P::Grey, 48, 32);
             const QByteArray path = QFile::encodeName(acq + page_file_names::name(0));
             ASSERT_EQ(PelmixBmpFileSave(path.constData(), other.get(), "", "", 0), 1);
         }},
        {"a page file gone",
         1,
         {P::Colour, P::Grey},
         [this] { QFile::remove(acq + page_file_names::name(1)); }},
        {"document pages", 5, {P::Colour, P::BlackWhite, P::Grey}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto meanwhile = [&] {
            if (c.meanwhile)
                c.meanwhile();
        };
        program.settings.SVMD = int16_t(c.format);
        program.settings.JPGP = 70;
        const auto expected = runStep(c.pages, false, meanwhile);
        const auto expectedMessages = messageTexts();
        clearFolder();
        program.settings.SVMD = int16_t(c.format);
        program.settings.JPGP = 70;
        const auto stored = runStep(c.pages, true, meanwhile);
        clearFolder();
        EXPECT_EQ(encodingsMade, std::count_if(c.pages.begin(), c.pages.end(),
                                               [](Page p) { return p != Page::BlackWhite; }));
        EXPECT_EQ(messageTexts(), expectedMessages);
        ASSERT_EQ(stored.size(), expected.size());
        for (const auto& [name, bytes] : expected) {
            ASSERT_EQ(stored.count(name), 1u) << name.toStdString();
            EXPECT_TRUE(stored.at(name) == bytes) << name.toStdString();
        }
    }
}

TEST_F(StoreEncodedTest, EncodingsNotTakenAreRemoved) {
    {
        PageEncoder encoder(acq, 70);
        writePage(0, Page::Colour);
        writePage(1, Page::BlackWhite);
        encoder.finish(2);
        EXPECT_EQ(contents(acq).size(), 3u) << "the page files and the colour page's encoding";
        EXPECT_TRUE(QFile::exists(acq + ".ORVA_TMP.000.jpg"));
        EXPECT_TRUE(encoder.take("ORVA_TMP.001", 70).isEmpty());
    }
    EXPECT_EQ(files(acq), (QStringList{"ORVA_TMP.000", "ORVA_TMP.001"}));
    EXPECT_EQ(contents(acq).size(), 2u);
}

} // namespace

// A page the cleaning changes is cleaned in its page file while the scan goes on, and its JPEG
// is encoded once, from the cleaned page: the stored file is the very JPEG of the page file as it
// now is, at the settings' quality.
TEST_F(StoreEncodedTest, ACleanedPageIsEncodedOnceFromTheCleanedPage) {
    program.settings.SVMD = 1;
    program.settings.JPGP = 80;
    // A page of 300 x 200 inside a black frame of 30 pixels, as a lid leaves it.
    QImage framed(360, 260, QImage::Format_RGB32);
    framed.fill(Qt::black);
    for (int y = 30; y < 230; ++y)
        for (int x = 30; x < 330; ++x)
            framed.setPixel(x, y, (x / 20 + y / 20) % 4 ? qRgb(250, 245, 235) : qRgb(40, 60, 90));
    ASSERT_TRUE(framed.save(acq + page_file_names::name(0), "BMP"));
    PageEncoder::Cleaning cleaning;
    cleaning.cutBorders = true;
    PageEncoder encoder(acq, program.settings.JPGP, cleaning);
    encoder.finish(1);

    const QByteArray page = QFile::encodeName(acq + page_file_names::name(0));
    ImageHandle cleaned(PelmixFileLoad(page.constData(), "", ""));
    ASSERT_TRUE(cleaned);
    EXPECT_NEAR(infoOf(cleaned.get()).WIDTH, 300, 2);
    EXPECT_NEAR(infoOf(cleaned.get()).HEIGHT, 200, 2);
    const std::string once = (acq + "once.jpg").toStdString();
    ASSERT_NE(PelmixJpegFileSave(once.c_str(), cleaned.get(), "", "", 80, 0), 0);

    KeptPages kept(program);
    PageStore store(program, kept);
    store.useEncodings(&encoder);
    int64_t next = 1;
    const QStringList names = storeStep(store, 1, next);
    ASSERT_EQ(names.size(), 1);
    EXPECT_TRUE(readBytes((acq + names[0]).toStdString()) == readBytes(once));
    EXPECT_FALSE(QFile::exists(acq + page_file_names::name(0)));
}
