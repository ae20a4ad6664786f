// Printing through a real spooler: a CUPS scheduler of the test's own, listening on the loopback
// address only, with its configuration in a temporary folder, and the cups-pdf printer. The
// printable area must be the one its PPD gives, and the PDF the printer makes must hold the
// picture where the dialog put it. Where no scheduler can be started here, the test says why.
#include "print_fixture.h"
#include "printer_access.h"
#include "prt_win.h"
#include "qt_support.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <pwd.h>
#include <thread>
#include <unistd.h>

namespace {

// A scheduler in its own folder, stopped when the object goes.
class PrivateSpooler {
public:
    explicit PrivateSpooler(const std::string& root) : root_(root) {
        port_ = 20000 + int(::getpid() % 20000);
        server_ = "127.0.0.1:" + std::to_string(port_);
        for (const char* sub : {"cache", "spool", "log", "state"}) {
            QDir().mkpath(QString::fromStdString(root_ + "/" + sub));
        }
        std::ofstream(root_ + "/cupsd.conf")
            << "Listen " << server_ << "\nLogLevel warn\nWebInterface No\nBrowsing No\n"
            << "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
            << "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"
            << "<Policy default>\n  <Limit All>\n    Order deny,allow\n    Allow all\n  </Limit>\n"
            << "</Policy>\n";
        std::ofstream(root_ + "/cups-files.conf")
            << "ServerRoot " << root_ << "\nCacheDir " << root_ << "/cache\nStateDir " << root_
            << "/state\nRequestRoot " << root_ << "/spool\nTempDir " << root_
            << "/spool\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\nAccessLog " << root_
            << "/log/access_log\nErrorLog " << root_ << "/log/error_log\nPageLog " << root_
            << "/log/page_log\nUser lp\nGroup lp\nSystemGroup root\nSandboxing Relaxed\n";
        // The filters run as the printing user and must reach the spooled files.
        const std::string parent = root_.substr(0, root_.rfind('/'));
        std::system(("chmod a+rx '" + parent + "' && chmod -R a+rwx '" + root_ + "'").c_str());
    }
    ~PrivateSpooler() {
        if (scheduler_.state() != QProcess::NotRunning) {
            scheduler_.terminate();
            scheduler_.waitForFinished(5000);
        }
    }

    // Starts the scheduler and adds the PDF printer as its default; "" or why not.
    std::string start() {
        if (::geteuid() != 0) {
            return "the cups-pdf printer needs the scheduler to run as root";
        }
        for (const char* tool : {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/bin/lpstat",
                                 "/usr/lib/cups/backend/cups-pdf", kPpd}) {
            if (!QFileInfo::exists(QString::fromLatin1(tool))) {
                return std::string(tool) + " is not installed";
            }
        }
        scheduler_.setProcessChannelMode(QProcess::MergedChannels);
        scheduler_.start(QStringLiteral("/usr/sbin/cupsd"),
                         {QStringLiteral("-f"), QStringLiteral("-c"), q(root_ + "/cupsd.conf"),
                          QStringLiteral("-s"), q(root_ + "/cups-files.conf")});
        if (!scheduler_.waitForStarted(5000)) {
            return "cupsd did not start";
        }
        bool running = false;
        for (int i = 0; i < 50 && !running; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            running = run("/usr/bin/lpstat", {"-h", server_, "-r"}) == 0;
        }
        if (!running) {
            return "cupsd does not answer: " + scheduler_.readAll().toStdString();
        }
        if (run("/usr/sbin/lpadmin",
                {"-h", server_, "-p", "OrvanaPDF", "-v", "cups-pdf:/", "-P", kPpd, "-E"}) != 0 ||
            run("/usr/sbin/lpadmin", {"-h", server_, "-d", "OrvanaPDF"}) != 0) {
            return "lpadmin could not add the PDF printer";
        }
        return {};
    }
    const std::string& server() const { return server_; }
    static constexpr const char* kPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

private:
    static int run(const char* program, const std::vector<std::string>& arguments) {
        QStringList list;
        for (const std::string& a : arguments) {
            list << q(a);
        }
        return QProcess::execute(QString::fromLatin1(program), list);
    }

    std::string root_;
    int port_ = 0;
    std::string server_;
    QProcess scheduler_;
};

} // namespace

TEST(CupsPrint, PrintsThroughTheSpoolerWithThePpdsPrintableArea) {
    TempDir folder;
    PrivateSpooler spooler(folder.file("cups"));
    const std::string why = spooler.start();
    if (!why.empty()) {
        GTEST_SKIP() << "no CUPS scheduler could be started here: " << why;
    }
    setenv("CUPS_SERVER", spooler.server().c_str(), 1);
    testApplication();
    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program(prompter, launcher, browsing);

    QPrinter& printer = programPrinter(program);
    ASSERT_FALSE(printsToFile(printer)) << "the spooler's printer is not seen";
    EXPECT_EQ(printerCaption(printer), QStringLiteral(" OrvanaPDF"));
    // The printable area of the PPD's default page size, in points.
    std::ifstream ppd(PrivateSpooler::kPpd);
    std::string line, defaultSize;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    while (std::getline(ppd, line)) {
        if (line.rfind("*DefaultPageSize: ", 0) == 0) {
            defaultSize = line.substr(18);
        } else if (!defaultSize.empty() &&
                   line.rfind("*ImageableArea " + defaultSize + "/", 0) == 0) {
            std::sscanf(line.c_str() + line.find('"'), "\"%lf %lf %lf %lf", &x0, &y0, &x1, &y1);
            break;
        }
    }
    ASSERT_GT(x1, 0) << "no printable area in the PPD";
    const PrintableArea area = printableArea(printer);
    EXPECT_NEAR(area.widthMm, (x1 - x0) * 25.4 / 72, 0.2);
    EXPECT_NEAR(area.heightMm, (y1 - y0) * 25.4 / 72, 0.2);

    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
    ImageHandle red = makeRgbImage(1000, 500, [](int, int) { return Colour{255, 0, 0}; });
    ASSERT_NE(PelmixBmpFileSave(folder.file("wide.bmp").c_str(), red.get(), "", "", 0), 0);
    program.PRINT_PATH = QString::fromStdString(folder.file("wide.bmp"));
    auto* dialog = new PRT_WIN(program, nullptr);
    dialog->show();
    EXPECT_EQ(dialog->X_SIZE->text(), QStringLiteral(" %1").arg(area.widthMm, 0, 'f', 2));
    QTest::mouseClick(dialog->Command2, Qt::LeftButton);
    EXPECT_TRUE(prompter.requests.empty()); // no file is asked for: a real printer
    const RECT rectangle = dialog->placement().tenths();
    dialog->close();

    // cups-pdf writes into the PDF folder of the job's user.
    const QString home = QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_dir);
    QString made;
    for (int i = 0; i < 150 && made.isEmpty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        for (const QFileInfo& file :
             QDir(home + QStringLiteral("/PDF")).entryInfoList(QDir::Files)) {
            if (file.lastModified() >= started && file.size() > 0) {
                made = file.absoluteFilePath();
            }
        }
    }
    ASSERT_FALSE(made.isEmpty()) << "the printer made no PDF in " << home.toStdString() << "/PDF";
    // cups-pdf writes the file as it goes: wait until it is written to its end.
    const auto complete = [&made] {
        QFile file(made);
        return file.open(QIODevice::ReadOnly) && file.size() > 16 && file.seek(file.size() - 16) &&
               file.read(16).contains("%%EOF");
    };
    for (int i = 0; i < 100 && !complete(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const QString copy = QString::fromStdString(folder.file("spooled.pdf"));
    QFile::copy(made, copy);
    QFile::remove(made);
    if (std::system("pdftoppm -v > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "pdftoppm is not installed";
    }
    const std::string prefix = folder.file("spooled");
    ASSERT_EQ(std::system(
                  ("pdftoppm -r 300 -png -singlefile '" + copy.toStdString() + "' '" + prefix + "'")
                      .c_str()),
              0);
    QImage page(QString::fromStdString(prefix + ".png"));
    ASSERT_FALSE(page.isNull());
    // Where the picture is: the rectangle in tenths of a millimetre from the area's corner.
    const QImage rgb = page.convertToFormat(QImage::Format_RGB32);
    int left = rgb.width(), top = rgb.height(), right = -1, bottom = -1;
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            const QColor c = rgb.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 80 && c.blue() < 80) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    const double mm = 25.4 / 300;
    std::cerr << "picture at " << left * mm << " " << top * mm << " " << (right + 1) * mm << " "
              << (bottom + 1) * mm << " mm, page " << page.width() * mm << " x "
              << page.height() * mm << "\n";
    EXPECT_NEAR(left * mm, rectangle.left / 10.0, 0.3);
    EXPECT_NEAR(top * mm, rectangle.top / 10.0, 0.3);
    EXPECT_NEAR((right + 1) * mm, rectangle.right / 10.0, 0.3);
    EXPECT_NEAR((bottom + 1) * mm, rectangle.bottom / 10.0, 0.3);
}
