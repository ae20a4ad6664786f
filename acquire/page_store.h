// Storing the TWAIN pages of an acquisition run under automatic names, and the naming rules the
// run's move step shares with it (digit overflow, collision rule).
//
// Use within one run:
//   KeptPages kept(program);
//   PageStore store(program, kept);
//   ... FIND_LAST_NUMBER / NBNB gives the last number; next = last + 1 ...
//   store.beginStep();                    // copies SVMD
//   for k: name = store.storePage(k, next); ++next;
//   store.endStep();                      // SVMD back to its copy (also done by the destructor)
//   kept.report();                        // one message for the whole run
#pragma once

#include <QString>
#include <cstdint>

class KeptPages;
class PageEncoder;
class Program;

class PageStore {
public:
    PageStore(Program& program, KeptPages& kept);
    ~PageStore();
    PageStore(const PageStore&) = delete;
    PageStore& operator=(const PageStore&) = delete;

    // Start of the TWAIN step: remembers SVMD and clears the step's shown messages.
    void beginStep();
    // End of the step: restores SVMD.
    void endStep();

    // Stores page file "ORVA_TMP.<k in three digits>" of ACQ_DIR under the next number (the
    // collision rule may move nextNumber on). Returns the new name without folder, or "" when
    // the page was kept instead (failed load or save, no automatic name left, a folder refusing
    // writes) or there was no page file. The caller then advances nextNumber by 1.
    QString storePage(int k, int64_t& nextNumber);
    // The same for the page file of ACQ_DIR named pageName. A page the encoder found blank goes
    // to the trash instead (setAside() counts it) and takes no number: "" and nextNumber as it
    // was; where the trash cannot take it, it is stored like any other.
    QString storePageFile(const QString& pageName, int64_t& nextNumber);

    // JPEG and document steps take the encodings the encoder made during the scan where they
    // still match their page files; nullptr (the default) encodes every page here.
    void useEncodings(PageEncoder* encoder) { encoder_ = encoder; }

    // Pages the encoder found blank went to the desktop's trash instead of a name: how many.
    int setAside() const { return setAside_; }

    // True once the collision rule found no automatic name left: every later page is kept.
    bool stopped() const { return stopped_; }

    // Shows the digit-overflow message when nextNumber is exactly 10^SCNN.
    void checkDigitOverflow(int64_t nextNumber);

    // Destination ACQ_DIR + NTOP + number + extension (extension with its dot); when that file
    // exists, rescans once and forms the name again from the new nextNumber (with the
    // digit-overflow check when the rescan lands on 10^SCNN). Returns "" when no automatic name
    // is left: the rescan says so, or the number would pass the largest 32-bit value (the
    // no-name-left message is then shown here); stopped() is then true.
    QString destination(const QString& extension, int64_t& nextNumber);

private:
    enum class Outcome { Stored, Kept, Retry };
    Outcome convert(const QString& page, const QString& target, const QString& name, int format);
    static int documentPageFormat(const QString& page);
    QString keepPage(const QString& page);
    bool setAsideBlank(const QString& page, const QString& pageName);
    void releaseWorkImage();

    PageEncoder* encoder_ = nullptr;
    Program& program_;
    KeptPages& kept_;
    bool inStep_ = false;
    int16_t savedFormat_ = 0;
    bool jpegFallbackShown_ = false;
    bool group4FallbackShown_ = false;
    bool stopped_ = false;
    int setAside_ = 0;
};
