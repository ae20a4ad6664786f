// The adjustment dialog's controls, its load and its close.
#include "cnf_win.h"

#include "adjust_view.h"
#include "dialog_placement.h"
#include "display_refresh.h"
#include "native_name.h"
#include "program.h"
#include "trim_frame.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

template <typename W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    return named(new QPushButton(caption, parent), QString::fromLatin1(name));
}

QLineEdit* numberBox(QWidget* parent, const char* name) {
    auto* box = named(new QLineEdit(QStringLiteral("0"), parent), QString::fromLatin1(name));
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("-00000")) + 12);
    return box;
}

} // namespace

CNF_WIN::CNF_WIN(Program& program, AdjustView& view)
    : QDialog(view.owner()), program_(program), view_(view) {
    setObjectName(QStringLiteral("CNF_WIN"));
    setWindowTitle(tr("画像調整%1").arg(program.APP_TITLE));
    setAttribute(Qt::WA_DeleteOnClose);

    Picture1 = named(new QWidget(this), QStringLiteral("Picture1"));
    auto* pageButtons = new QHBoxLayout;
    const char* captions[] = {QT_TR_NOOP("Image"), QT_TR_NOOP("Color"), QT_TR_NOOP("Trim")};
    for (int i = 0; i < 3; ++i) {
        CMD_BASE_CNG[i] = button(Picture1, "CMD_BASE_CNG", tr(captions[i]));
        CMD_BASE_CNG[i]->setProperty("index", i);
        // The button of the page shown stays pressed, whichever has the focus (each is still
        // reached with Tab: the page shown sets them, not an exclusive group).
        CMD_BASE_CNG[i]->setCheckable(true);
        pageButtons->addWidget(CMD_BASE_CNG[i]);
    }
    CMD_BASE = {buildColourPage(), buildTurnPage(), buildTrimPage()};
    for (int i = 0; i < 3; ++i) {
        CMD_BASE[i]->setProperty("index", i); // one element of a repeated control
    }

    Command3 = button(Picture1, "Command3", tr("上書き保存"));
    Command15 = button(Picture1, "Command15", tr("別名保存"));
    Command4 = button(Picture1, "Command4", tr("戻る"));
    Check2 = named(new QCheckBox(tr("保存時にファイル　日付は変えない"), Picture1),
                   QStringLiteral("Check2"));
    auto* saves = new QHBoxLayout;
    saves->addWidget(Command3);
    saves->addWidget(Command15);
    saves->addWidget(Command4);

    auto* panel = new QVBoxLayout(Picture1);
    panel->addLayout(pageButtons);
    for (QWidget* page : CMD_BASE) {
        panel->addWidget(page);
    }
    panel->addStretch();
    panel->addWidget(Check2);
    panel->addLayout(saves);
    Picture1->setFixedWidth(330);

    IMG_WAKU = named(new QFrame(this), QStringLiteral("IMG_WAKU"));
    IMG_WAKU->setFrameShape(QFrame::StyledPanel);
    IMG_WAKU->setMinimumSize(200, 200);
    IMG = named(new QLabel(IMG_WAKU), QStringLiteral("IMG"));
    TRIMAREA = named(new TrimFrame(IMG), QStringLiteral("TRIMAREA"));
    TRIMAREA->setAttribute(Qt::WA_TransparentForMouseEvents);
    TRIMAREA->hide();
    Timer1 = named(new QTimer(this), QStringLiteral("Timer1"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Picture1);
    layout->addWidget(IMG_WAKU, 1);
    connectControls();
}

CNF_WIN::~CNF_WIN() = default;

QSize CNF_WIN::sizeHint() const {
    return QSize(900, 600).expandedTo(minimumSizeHint());
}

QWidget* CNF_WIN::buildColourPage() {
    auto* page = named(new QWidget(Picture1), QStringLiteral("CMD_BASE"));
    auto* grid = new QGridLayout(page);
    struct Row {
        const char* caption;
        QScrollBar*& bar;
        const char* barName;
        QLineEdit*& box;
        const char* boxName;
    };
    const Row rows[] = {{QT_TR_NOOP("明るさ"), BRIGHT, "BRIGHT", BRIGHT_VAL, "BRIGHT_VAL"},
                        {QT_TR_NOOP("赤"), R_BAR, "R_BAR", R_VAL, "R_VAL"},
                        {QT_TR_NOOP("緑"), G_BAR, "G_BAR", G_VAL, "G_VAL"},
                        {QT_TR_NOOP("青"), B_BAR, "B_BAR", B_VAL, "B_VAL"}};
    int line = 0;
    for (const Row& row : rows) {
        row.bar = named(new QScrollBar(Qt::Horizontal, page), QString::fromLatin1(row.barName));
        row.bar->setRange(-255, 255);
        row.bar->setSingleStep(1);
        row.bar->setPageStep(16);
        row.bar->setValue(0);
        row.box = numberBox(page, row.boxName);
        grid->addWidget(new QLabel(tr(row.caption), page), line, 0);
        grid->addWidget(row.bar, line, 1);
        grid->addWidget(row.box, line, 2);
        ++line;
        if (row.bar == BRIGHT) {
            Command1 = button(page, "Command1", tr("Reset"));
            grid->addWidget(Command1, line++, 2);
        }
    }
    Command2 = button(page, "Command2", tr("Reset"));
    grid->addWidget(Command2, line++, 2);
    Command5 = button(page, "Command5", tr("表示更新"));
    grid->addWidget(Command5, line, 0, 1, 2);
    Check1 = named(new QCheckBox(tr("自動的に表示を更新する"), page), QStringLiteral("Check1"));
    grid->addWidget(Check1, line + 1, 0, 1, 3);
    return page;
}

QWidget* CNF_WIN::buildTurnPage() {
    auto* page = named(new QWidget(Picture1), QStringLiteral("CMD_BASE"));
    auto* grid = new QGridLayout(page);
    const char* captions[] = {QT_TR_NOOP("右90度"),   QT_TR_NOOP("左90度"),
                              QT_TR_NOOP("180度"),    QT_TR_NOOP("左右反転"),
                              QT_TR_NOOP("上下反転"), QT_TR_NOOP("ネガポジ反転")};
    for (int i = 0; i < 6; ++i) {
        TURN[i] = button(page, "TURN", tr(captions[i]));
        TURN[i]->setProperty("index", i);
        grid->addWidget(TURN[i], i / 2, i % 2);
    }
    return page;
}

QWidget* CNF_WIN::buildTrimPage() {
    auto* page = named(new QWidget(Picture1), QStringLiteral("CMD_BASE"));
    auto* grid = new QGridLayout(page);
    SIZE_X = numberBox(page, "SIZE_X");
    SIZE_Y = numberBox(page, "SIZE_Y");
    Command6 = button(page, "Command6", QStringLiteral("+1"));
    Command7 = button(page, "Command7", QStringLiteral("-1"));
    Command8 = button(page, "Command8", QStringLiteral("+10"));
    Command9 = button(page, "Command9", QStringLiteral("-10"));
    Command10 = button(page, "Command10", QStringLiteral("+1"));
    Command12 = button(page, "Command12", QStringLiteral("-1"));
    Command11 = button(page, "Command11", QStringLiteral("+10"));
    Command13 = button(page, "Command13", QStringLiteral("-10"));
    grid->addWidget(new QLabel(tr("幅"), page), 0, 0);
    grid->addWidget(SIZE_X, 0, 1);
    grid->addWidget(Command6, 0, 2);
    grid->addWidget(Command7, 0, 3);
    grid->addWidget(Command8, 0, 4);
    grid->addWidget(Command9, 0, 5);
    grid->addWidget(new QLabel(tr("高さ"), page), 1, 0);
    grid->addWidget(SIZE_Y, 1, 1);
    grid->addWidget(Command10, 1, 2);
    grid->addWidget(Command12, 1, 3);
    grid->addWidget(Command11, 1, 4);
    grid->addWidget(Command13, 1, 5);
    Command14 = button(page, "Command14", tr("トリミング実行"));
    Command17 = button(page, "Command17", tr("トリミング中止"));
    Command16 = button(page, "Command16", tr("データ再読み込み"));
    grid->addWidget(Command14, 2, 0, 1, 3);
    grid->addWidget(Command17, 2, 3, 1, 3);
    grid->addWidget(Command16, 3, 0, 1, 6);
    auto* note = new QLabel(tr("小さくトリミングした場合、正しく表示されない時があります、"
                               "その場合小さくリサイズしてください。"),
                            page);
    note->setWordWrap(true);
    grid->addWidget(note, 4, 0, 1, 6);
    return page;
}

void CNF_WIN::start() {
    ADJ_OVERWRITTEN = false;
    TRIM_SET = false;
    ADJ_LOADING = true;
    TRIM_ORIGIN[0] = TRIM_ORIGIN[1] = 0;
    TRIM_SIZE[0] = TRIM_SIZE[1] = 0;
    QWidget* main = view_.owner();
    main->setEnabled(false);
    setEnabled(true); // a window of its own, not disabled with its owner

    placeOverOwner(this, main);
    showPage(program_.settings.CNFP);
    setWindowModality(Qt::WindowModal);
    show();
    Check2->setChecked(program_.settings.CNFD == 1);

    loadImage();
    const QString upper = program_.ADJUST_PATH.toUpper();
    const IMAGE_INFO info = image.info();
    if ((upper.endsWith(QLatin1String(".JPG")) && info.COLOR_TYPE == PELMIX_256_GREYS) ||
        (upper.endsWith(QLatin1String(".TIF")) && info.COLOR_TYPE == PELMIX_TWO_COLOUR)) {
        tell(tr("256色のJPEGと2色のTIFではご利用になれません。"), Prompter::Icon::Exclamation);
    }
    SIZE_X->setText(QString::number(qint64(TRIM_SIZE[0])));
    SIZE_Y->setText(QString::number(qint64(TRIM_SIZE[1])));
    ADJ_LOADING = false;
    layout()->activate();
    APPLY_ADJUSTMENTS();
    Check1->setChecked(program_.settings.CFDM == 0);
}

void CNF_WIN::loadImage() {
    image.load(program_.ADJUST_PATH);
    const IMAGE_INFO info = image.info();
    ADJ_WIDTH = info.WIDTH;
    ADJ_HEIGHT = info.HEIGHT;
}

void CNF_WIN::tell(const QString& text, Prompter::Icon icon) {
    program_.tell(this, text, icon);
}

void CNF_WIN::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        Timer1->stop();
        image.release();
        renewThumbnail();
        view_.owner()->setEnabled(true);
        if (savedShown_) {
            view_.refresh().redrawInPlace();
        }
    }
    event->accept();
}
