#include "mprt_win.h"

#include "browsing.h"
#include "dialog_placement.h"
#include "folder_list.h"
#include "native_name.h"
#include "number_box.h"
#include "number_text.h"
#include "pelmix.h"
#include "pelmix_view.h"
#include "print_output.h"
#include "program.h"
#include "sheet_run.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <climits>
#include <cmath>

namespace {

const QColor kLightCyan(0, 255, 255);

int countIn(const QLineEdit* box) {
    return int(number_text::integerOf(box->text(), INT_MIN, INT_MAX));
}

QLineEdit* countBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaximumWidth(60);
    NumberBox::install(box, NumberBox::Kind::Count);
    return box;
}

} // namespace

MPRT_WIN::MPRT_WIN(Program& program, QWidget* owner, bool ownWindow)
    : QDialog(owner, ownWindow ? Qt::Window : Qt::Dialog), program_(program) {
    setObjectName(QStringLiteral("MPRT_WIN"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("カタログ印刷%1").arg(program.APP_TITLE));
    build();

    folder_ = browsing::displayFolder(program);
    FolderList list;
    list.setFolder(folder_);
    if (list.count() == 0) {
        program.tell(owner, tr("印刷する絵がフォルター内にありません、カタログ印刷を"
                               "中止します。"));
        return;
    }
    hasPictures_ = true;
    for (const QString& name : list.names()) {
        auto* item = new QListWidgetItem(native_name::forDisplay(name), List1);
        item->setData(Qt::UserRole, name);
    }
    Text1->setText(native_name::forDisplay(folder_));
    FILE_COUNT->setText(tr("%1 ファイル").arg(list.count()));

    USR_SETTINGS& s = program.settings;
    (s.MPRD == 0 ? Option1 : Option2)->setChecked(true);
    FN_WRITE->setChecked(s.MPFN == 1);
    PATH_WRITE->setChecked(s.MPPA == 1);
    PAGE_WRITE->setChecked(s.MPPG == 1);
    Option3->setChecked(true);
    onOption3or4();
    readPrinter();
    s.MPRX = std::max<int16_t>(s.MPRX, 1);
    s.MPRY = std::max<int16_t>(s.MPRY, 1);
    XMAT->setText(QString::number(s.MPRX));
    YMAT->setText(QString::number(s.MPRY));
    INPAGE->setText(QString::number(s.MPRX * s.MPRY));
    placeOverOwner(this, owner);
    loading_ = false;
    CATALOGUE_PRINT_LAYOUT(1);
}

MPRT_WIN::~MPRT_WIN() = default;

void MPRT_WIN::build() {
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    FILE_COUNT = new QLabel(this);
    XMAT = countBox(this, "XMAT");
    YMAT = countBox(this, "YMAT");
    INPAGE = new QLabel(this);
    INPAGE->setObjectName(QStringLiteral("INPAGE"));
    TOT_PAGE = new QLabel(this);
    TOT_PAGE->setObjectName(QStringLiteral("TOT_PAGE"));
    Option1 = new QRadioButton(tr("左→右"));
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2 = new QRadioButton(tr("右→左"));
    Option2->setObjectName(QStringLiteral("Option2"));
    FN_WRITE = new QCheckBox(tr("ファイル名の印刷"), this);
    FN_WRITE->setObjectName(QStringLiteral("FN_WRITE"));
    PATH_WRITE = new QCheckBox(tr("PATHの印刷"), this);
    PATH_WRITE->setObjectName(QStringLiteral("PATH_WRITE"));
    PAGE_WRITE = new QCheckBox(tr("ページ番号の印刷"), this);
    PAGE_WRITE->setObjectName(QStringLiteral("PAGE_WRITE"));
    Option3 = new QRadioButton(tr("全ページ"));
    Option3->setObjectName(QStringLiteral("Option3"));
    Option4 = new QRadioButton(tr("指定ページ"));
    Option4->setObjectName(QStringLiteral("Option4"));
    PPAGE = countBox(this, "PPAGE");
    PRT_NAME = new QLabel(this);
    PRT_NAME->setObjectName(QStringLiteral("PRT_NAME"));
    PRT_SIZE = new QLabel(this);
    PRT_SIZE->setObjectName(QStringLiteral("PRT_SIZE"));
    Command1 = new QPushButton(tr("プリンターの設定"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(tr("印刷実行"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command3 = new QPushButton(tr("閉じる"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    ST_FRM = new QGroupBox(tr("Status"), this);
    ST_FRM->setObjectName(QStringLiteral("ST_FRM"));
    ST_BAR = new QProgressBar(ST_FRM);
    ST_BAR->setObjectName(QStringLiteral("ST_BAR"));
    ST_BAR->setTextVisible(false);
    ST_BAR->setValue(0);
    QPalette bar = ST_BAR->palette();
    bar.setColor(QPalette::Highlight, kLightCyan);
    bar.setColor(QPalette::Base, Qt::white);
    ST_BAR->setPalette(bar);
    (new QVBoxLayout(ST_FRM))->addWidget(ST_BAR);
    IMG_WAKU = new QFrame(this);
    IMG_WAKU->setObjectName(QStringLiteral("IMG_WAKU"));
    IMG_WAKU->setFrameShape(QFrame::Panel);
    IMG_WAKU->setFrameShadow(QFrame::Sunken);
    IMG_WAKU->setFixedSize(300, 340);
    IMG_BASE = new QLabel(IMG_WAKU);
    IMG_BASE->setObjectName(QStringLiteral("IMG_BASE"));

    auto* order = new QGroupBox(tr("並び順"), this);
    auto* orderLayout = new QHBoxLayout(order);
    orderLayout->addWidget(Option1);
    orderLayout->addWidget(Option2);
    auto* pages = new QGroupBox(tr("印刷ページ"), this);
    auto* pagesLayout = new QHBoxLayout(pages);
    pagesLayout->addWidget(Option3);
    pagesLayout->addWidget(Option4);
    pagesLayout->addWidget(PPAGE);
    auto* matrix = new QGridLayout;
    matrix->addWidget(new QLabel(tr("横"), this), 0, 0);
    matrix->addWidget(XMAT, 0, 1);
    matrix->addWidget(new QLabel(tr("縦"), this), 0, 2);
    matrix->addWidget(YMAT, 0, 3);
    matrix->addWidget(new QLabel(tr("1ページ"), this), 1, 0);
    matrix->addWidget(INPAGE, 1, 1);
    matrix->addWidget(new QLabel(tr("全ページ数"), this), 1, 2);
    matrix->addWidget(TOT_PAGE, 1, 3);

    auto* left = new QVBoxLayout;
    left->addWidget(Text1);
    left->addWidget(List1);
    left->addWidget(FILE_COUNT);
    auto* middle = new QVBoxLayout;
    middle->addLayout(matrix);
    middle->addWidget(order);
    middle->addWidget(FN_WRITE);
    middle->addWidget(PATH_WRITE);
    middle->addWidget(PAGE_WRITE);
    middle->addWidget(pages);
    middle->addWidget(PRT_NAME);
    middle->addWidget(PRT_SIZE);
    middle->addWidget(Command1);
    middle->addWidget(new QLabel(tr("BMPは黒、JPEGは緑、TIFFは青で印刷されます。"), this));
    middle->addWidget(ST_FRM);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    middle->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(middle);
    layout->addWidget(IMG_WAKU, 0, Qt::AlignTop);

    connect(XMAT, &QLineEdit::textChanged, this, [this] { matrixChanged(XMAT); });
    connect(YMAT, &QLineEdit::textChanged, this, [this] { matrixChanged(YMAT); });
    connect(PPAGE, &QLineEdit::textChanged, this, &MPRT_WIN::redraw);
    for (QAbstractButton* control : std::initializer_list<QAbstractButton*>{
             Option1, Option2, FN_WRITE, PATH_WRITE, PAGE_WRITE}) {
        connect(control, &QAbstractButton::clicked, this, &MPRT_WIN::redraw);
    }
    connect(Option3, &QRadioButton::clicked, this, &MPRT_WIN::onOption3or4);
    connect(Option4, &QRadioButton::clicked, this, &MPRT_WIN::onOption3or4);
    connect(Command1, &QPushButton::clicked, this, [this] {
        PRINTER_SETUP(program_, this);
        readPrinter();
        redraw();
    });
    connect(Command2, &QPushButton::clicked, this, [this] { CATALOGUE_PRINT_LAYOUT(0); });
    connect(Command3, &QPushButton::clicked, this, &QDialog::close);
}

void MPRT_WIN::readPrinter() {
    area_ = showPrinter(program_, PRT_NAME, PRT_SIZE);
}

void MPRT_WIN::matrixChanged(QLineEdit* box) {
    if (countIn(box) > 100) {
        box->setText(QStringLiteral("100")); // comes back here
        return;
    }
    INPAGE->setText(QString::number(countIn(XMAT) * countIn(YMAT)));
    redraw();
}

void MPRT_WIN::redraw() {
    if (!loading_) {
        CATALOGUE_PRINT_LAYOUT(1);
    }
}

void MPRT_WIN::onOption3or4() {
    const bool one = Option4->isChecked();
    PPAGE->setEnabled(one);
    PPAGE->setBackgroundRole(one ? QPalette::Base : QPalette::Button);
    redraw();
}

void MPRT_WIN::progress(int done, int total) {
    ST_FRM->setTitle(tr("プリンターへ出力中 %1/%2").arg(done).arg(total));
    ST_BAR->setMaximum(std::max(1, total));
    ST_BAR->setValue(done);
    ST_FRM->repaint();
}

void MPRT_WIN::failed() {
    tellPrintFailed(program_, this);
}

void MPRT_WIN::CATALOGUE_PRINT_LAYOUT(int mode) {
    SheetRun run;
    run.columns = countIn(XMAT);
    run.rows = countIn(YMAT);
    if (run.columns <= 0 || run.rows <= 0) {
        IMG_BASE->clear();
        return;
    }
    for (int i = 0; i < List1->count(); ++i) {
        run.names << List1->item(i)->data(Qt::UserRole).toString();
    }
    const int perPage = run.columns * run.rows;
    run.pages = (int(run.names.size()) + perPage - 1) / perPage;
    TOT_PAGE->setText(QString::number(run.pages));
    QPrinter& printer = programPrinter(program_);
    area_ = printableArea(printer);
    if (area_.widthMm <= 0 || area_.heightMm <= 0) {
        return;
    }
    const int chosen = Option3->isChecked() ? 0 : countIn(PPAGE);
    run.rightToLeft = Option2->isChecked();
    run.fileNames = FN_WRITE->isChecked();
    run.path = PATH_WRITE->isChecked();
    run.pageNumbers = PAGE_WRITE->isChecked();
    run.geometry = sheetGeometry(area_.widthMm, area_.heightMm, run.columns, run.rows,
                                 run.fileNames, run.path, run.pageNumbers);

    if (mode == 1) {
        const QRect place = paperInFrame(IMG_WAKU->contentsRect(), area_);
        IMG_BASE->setGeometry(place);
        const QSize paper = place.size().expandedTo(QSize(1, 1));
        QPixmap picture(paper);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        for (int page = 1; page <= run.pages; ++page) {
            drawPreviewPage(painter, run, page);
        }
        painter.end();
        IMG_BASE->setPixmap(picture);
        return;
    }

    if (chosen > run.pages) {
        // Nothing to print: neither a file is asked for nor the printer changed.
        program_.tell(
            this,
            tr("%1 ページはありません。このカタログは %2 ページです。").arg(chosen).arg(run.pages),
            Prompter::Icon::Exclamation);
        return;
    }
    if (!chooseOutputFile(program_, this, printer)) {
        return;
    }
    PRT_NAME->setText(printerCaption(printer));
    PrintOutput output(printer);
    if (!output.begin()) {
        tellPrintFailed(program_, this, output);
        return;
    }
    run.dc = PelmixCreatePrinterDC(&printer);
    notPrinted_.clear();
    int done = 0;
    bool allPages = true;
    for (int page = 1; page <= run.pages && allPages; ++page) {
        allPages = (chosen != 0 && chosen != page) || printPage(run, page, done);
    }
    // Ending the context finishes the document: one run, one document. A run that failed on a
    // page was told already and leaves no document in the file's place.
    const bool ended = PelmixDeleteDC(run.dc) != 0;
    if (allPages && !output.finish(ended, done > 0)) {
        tellPrintFailed(program_, this, output);
    } else if (allPages && !notPrinted_.isEmpty()) {
        QStringList lines{tr("次のイメ－ジは印刷できませんでした。")};
        for (const QString& name : notPrinted_) {
            lines << native_name::forMessage(name);
        }
        program_.tell(this, lines.join(QLatin1Char('\n')), Prompter::Icon::Exclamation);
    }
    ST_FRM->setTitle(tr("Status"));
    ST_BAR->setValue(0);
}

void MPRT_WIN::closeEvent(QCloseEvent* event) {
    if (hasPictures_) {
        USR_SETTINGS& s = program_.settings;
        s.MPRX = static_cast<int16_t>(countIn(XMAT));
        s.MPRY = static_cast<int16_t>(countIn(YMAT));
        s.MPRD = Option1->isChecked() ? 0 : 1;
        s.MPFN = FN_WRITE->isChecked() ? 1 : 0;
        s.MPPA = PATH_WRITE->isChecked() ? 1 : 0;
        s.MPPG = PAGE_WRITE->isChecked() ? 1 : 0;
    }
    QDialog::closeEvent(event);
}
