// The five pages of the settings dialog and their controls.
#include "folder_tree.h"
#include "set_win.h"
#include "text_data.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedLayout>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QCheckBox* check(QWidget* parent, const char* name, const char* text) {
    return named(new QCheckBox(SET_WIN::tr(text), parent), name);
}

QRadioButton* option(QWidget* parent, const char* name, const char* text) {
    return named(new QRadioButton(SET_WIN::tr(text), parent), name);
}

QPushButton* button(QWidget* parent, const char* name, const char* text) {
    return named(new QPushButton(SET_WIN::tr(text), parent), name);
}

QLineEdit* edit(QWidget* parent, const char* name, int width = 0) {
    auto* box = named(new QLineEdit(parent), name);
    if (width > 0) {
        box->setMaximumWidth(width);
    }
    return box;
}

// A frame holding the given controls one below the other (radio buttons in it exclude each other).
QGroupBox* frame(QWidget* parent, const char* title, std::initializer_list<QWidget*> controls) {
    auto* box = new QGroupBox(SET_WIN::tr(title), parent);
    auto* layout = new QVBoxLayout(box);
    for (QWidget* control : controls) {
        control->setParent(box);
        layout->addWidget(control);
    }
    return box;
}

QFrame* page(QWidget* parent, int index) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QStringLiteral("SETUP_BASE"));
    panel->setProperty("index", index);
    return panel;
}

} // namespace

void SET_WIN::buildPages() {
    auto* choices = new QHBoxLayout;
    const char* texts[] = {QT_TR_NOOP("読込設定"), QT_TR_NOOP("ランチ設定"),
                           QT_TR_NOOP("表示環境の設定"), QT_TR_NOOP("TWAIN読込設定"),
                           QT_TR_NOOP("起動/動作設定")};
    auto* pageStack = new QWidget(this);
    auto* pageChoice = new QButtonGroup(this); // the five exclude each other
    pages_ = new QStackedLayout(pageStack);
    const std::array<QFrame*, 5> built{buildReadingPage(), buildLaunchPage(), buildDisplayPage(),
                                       buildTwainPage(), buildStartPage()};
    for (int i = 0; i < 5; ++i) {
        SET_BASE_CNG[i] = option(this, "SET_BASE_CNG", texts[i]);
        SET_BASE_CNG[i]->setProperty("index", i);
        pageChoice->addButton(SET_BASE_CNG[i], i);
        choices->addWidget(SET_BASE_CNG[i]);
        SETUP_BASE[i] = built[i];
        pages_->addWidget(built[i]);
    }
    Command1 = button(this, "Command1", "OK");
    Command2 = button(this, "Command2", QT_TR_NOOP("Cancel"));
    MOVING = named(new QLabel(QStringLiteral(" "), this), "MOVING");
    auto* foot = new QHBoxLayout;
    foot->addWidget(MOVING, 1);
    foot->addWidget(Command1);
    foot->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(pageStack, 1);
    layout->addLayout(foot);
}

QFrame* SET_WIN::buildReadingPage() {
    QFrame* panel = page(this, 0);
    Drive1 = named(new QComboBox(panel), "Drive1");
    folder_tree::fillDrives(Drive1);
    Dir1 = folder_tree::make(panel, "Dir1");
    Dir1->setMinimumSize(280, 220);
    Check7 = check(panel, "Check7", QT_TR_NOOP("ベースを常にデスクトップとする。"));
    auto* destination = new QGroupBox(tr("取り込み先の指定"), panel);
    auto* destinationLayout = new QVBoxLayout(destination);
    destinationLayout->addWidget(Drive1);
    destinationLayout->addWidget(Dir1);
    destinationLayout->addWidget(Check7);
    Check1 = check(panel, "Check1",
                   QT_TR_NOOP("今日の日付をベースにフォルダーを自動的に作成する。(例970101)"));

    Text1 = edit(panel, "Text1", 200);
    Text5 = edit(panel, "Text5", 40);
    Label1 = named(new QLabel(panel), "Label1");
    Check11 = check(panel, "Check11", QT_TR_NOOP("番号は通し番とする。"));
    Text6 = edit(panel, "Text6", 120);
    auto* names = new QGroupBox(tr("ファイル名"), panel);
    auto* grid = new QGridLayout(names);
    grid->addWidget(Text1, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("+"), names), 0, 1);
    grid->addWidget(Label1, 0, 2);
    grid->addWidget(new QLabel(tr("N(番号)の桁数="), names), 1, 0);
    grid->addWidget(Text5, 1, 1, 1, 2);
    grid->addWidget(Check11, 2, 0);
    grid->addWidget(new QLabel(tr("開始番号"), names), 3, 0);
    grid->addWidget(Text6, 3, 1, 1, 2);

    Option14 = option(panel, "Option14", QT_TR_NOOP("Twainを利用"));
    Option15 = option(panel, "Option15", QT_TR_NOOP("フォルダーより移動"));
    Option16 = option(panel, "Option16", QT_TR_NOOP("Twainとフォルダーを利用"));
    Command6 = button(panel, "Command6", QT_TR_NOOP("移動元フォルダー指定"));
    QGroupBox* method =
        frame(panel, QT_TR_NOOP("取り込み方法"), {Option14, Option15, Option16, Command6});

    auto* left = new QVBoxLayout;
    left->addWidget(destination);
    left->addWidget(Check1);
    auto* right = new QVBoxLayout;
    right->addWidget(names);
    right->addWidget(method);
    right->addStretch();
    auto* layout = new QHBoxLayout(panel);
    layout->addLayout(left);
    layout->addLayout(right);
    return panel;
}

QFrame* SET_WIN::buildLaunchPage() {
    QFrame* panel = page(this, 1);
    auto* layout = new QVBoxLayout(panel);
    struct Editor {
        QLineEdit*& text;
        QPushButton*& change;
        const char* textName;
        const char* buttonName;
        const char* title;
    };
    const Editor editors[] = {{Text2, Command5, "Text2", "Command5", QT_TR_NOOP("編集ソフト1")},
                              {Text3, Command4, "Text3", "Command4", QT_TR_NOOP("編集ソフト2")}};
    for (int i = 0; i < 2; ++i) {
        const Editor& e = editors[i];
        auto* box = new QGroupBox(tr(e.title), panel);
        auto* grid = new QGridLayout(box);
        e.text = edit(box, e.textName);
        e.change = button(box, e.buttonName, QT_TR_NOOP("変更する"));
        ED_PATHTYPE[i] =
            check(box, "ED_PATHTYPE", QT_TR_NOOP("引き渡すパス名をMS-DOS互換のものとする。"));
        ED_PATHTYPE[i]->setProperty("index", i);
        grid->addWidget(e.text, 0, 0);
        grid->addWidget(e.change, 0, 1);
        grid->addWidget(ED_PATHTYPE[i], 1, 0, 1, 2);
        layout->addWidget(box);
    }
    layout->addStretch();
    return panel;
}

QFrame* SET_WIN::buildDisplayPage() {
    QFrame* panel = page(this, 2);
    Option1 = option(panel, "Option1", QT_TR_NOOP("スキャナ"));
    Option2 = option(panel, "Option2", QT_TR_NOOP("カメラ1"));
    Option11 = option(panel, "Option11", QT_TR_NOOP("カメラ2"));
    Option17 = option(panel, "Option17", QT_TR_NOOP("フィルムスキャナ"));
    Option3 = option(panel, "Option3", QT_TR_NOOP("通常"));
    Option4 = option(panel, "Option4", QT_TR_NOOP("大サイズ"));
    Option6 = option(panel, "Option6", QT_TR_NOOP("する"));
    Option7 = option(panel, "Option7", QT_TR_NOOP("しない"));
    Option8 = option(panel, "Option8", QT_TR_NOOP("Normal"));
    Option9 = option(panel, "Option9", QT_TR_NOOP("16色"));
    Option10 = option(panel, "Option10", QT_TR_NOOP("256色"));
    Option12 = option(panel, "Option12", QT_TR_NOOP("しない"));
    Option13 = option(panel, "Option13", QT_TR_NOOP("する"));
    Option18[0] = option(panel, "Option18", QT_TR_NOOP("使用する"));
    Option18[1] = option(panel, "Option18", QT_TR_NOOP("使用しない"));
    Option18[0]->setProperty("index", 0);
    Option18[1]->setProperty("index", 1);
    CMATRIX[0] = edit(panel, "CMATRIX", 40);
    CMATRIX[1] = edit(panel, "CMATRIX", 40);
    CMATRIX[0]->setProperty("index", 0);
    CMATRIX[1]->setProperty("index", 1);
    Check2 = check(panel, "Check2", QT_TR_NOOP("1枚表示時に256色へ減色する"));

    auto* matrix = new QGroupBox(tr("カタログ表示マトリクス"), panel);
    auto* matrixLayout = new QHBoxLayout(matrix);
    CMATRIX[0]->setParent(matrix);
    CMATRIX[1]->setParent(matrix);
    matrixLayout->addWidget(CMATRIX[0]);
    matrixLayout->addWidget(new QLabel(QStringLiteral("×"), matrix));
    matrixLayout->addWidget(CMATRIX[1]);

    auto* grid = new QGridLayout(panel);
    grid->addWidget(
        frame(panel, QT_TR_NOOP("TWAIN機器の絵の指定"), {Option1, Option2, Option11, Option17}), 0,
        0);
    grid->addWidget(frame(panel, QT_TR_NOOP("表示モード"), {Option3, Option4}), 0, 1);
    grid->addWidget(frame(panel, QT_TR_NOOP("カタログ表示時の絵の表示"), {Option6, Option7}), 0, 2);
    grid->addWidget(
        frame(panel, QT_TR_NOOP("カタログ表示時の表示モード"), {Option8, Option9, Option10}), 1, 0);
    grid->addWidget(matrix, 1, 1);
    grid->addWidget(
        frame(panel, QT_TR_NOOP("コマンドトレイをアイコンのみの表示に"), {Option12, Option13}), 1,
        2);
    grid->addWidget(Check2, 2, 0, 1, 2);
    grid->addWidget(frame(panel, QT_TR_NOOP("Snapletのサムネイル"), {Option18[0], Option18[1]}), 2,
                    2);
    return panel;
}

QFrame* SET_WIN::buildTwainPage() {
    QFrame* panel = page(this, 3);
    const char* formats[] = {QT_TR_NOOP("BMP形式"),
                             QT_TR_NOOP("JPEG形式"),
                             QT_TR_NOOP("TIFF形式(無圧縮)"),
                             QT_TR_NOOP("TIFF形式(PackedBits圧縮)"),
                             QT_TR_NOOP("TIFF形式(白黒 Group4)"),
                             QT_TR_NOOP("PDF形式(取り込み1回で1ファイル)")};
    auto* saveBox = new QGroupBox(tr("保存形式"), panel);
    auto* saveLayout = new QVBoxLayout(saveBox);
    for (int i = 0; i < int(Option5.size()); ++i) {
        Option5[i] = option(saveBox, "Option5", formats[i]);
        Option5[i]->setProperty("index", i);
        saveLayout->addWidget(Option5[i]);
    }
    auto* quality = new QGroupBox(tr("保存時のJPEG圧縮品質係数(0～100 推奨:50～75)"), panel);
    auto* qualityLayout = new QHBoxLayout(quality);
    JPEG_Q = named(new QScrollBar(Qt::Horizontal, quality), "JPEG_Q");
    JPEG_Q->setRange(0, 100);
    JPEG_Q->setPageStep(10);
    JPEG_Q_DSP = named(new QLabel(quality), "JPEG_Q_DSP");
    JPEG_Q_DSP->setMinimumWidth(40);
    qualityLayout->addWidget(JPEG_Q, 1);
    qualityLayout->addWidget(JPEG_Q_DSP);
    auto* text = new QGroupBox(tr("PDFの文字認識"), panel);
    auto* textLayout = new QVBoxLayout(text);
    Check13 = check(text, "Check13", QT_TR_NOOP("文字を認識して検索できるPDFにする"));
    textLayout->addWidget(Check13);
    auto* languageRow = new QHBoxLayout;
    languages_ = text_data::offered();
    for (const QString& language : languages_) {
        QCheckBox* box = named(new QCheckBox(text_data::displayName(language), text), "PDF_LANG");
        box->setProperty("language", language);
        PDF_LANG.push_back(box);
        languageRow->addWidget(box);
    }
    languageRow->addStretch();
    textLayout->addLayout(languageRow);
    PDF_NOTE = named(new QLabel(text), "PDF_NOTE");
    PDF_NOTE->setWordWrap(true);
    textLayout->addWidget(PDF_NOTE);
    Check10 = check(panel, "Check10", QT_TR_NOOP("自動的にサムネイルを作る(Snapletと連携時)"));
    Command3 = button(panel, "Command3", QT_TR_NOOP("Twain機器の選択"));
    auto* layout = new QVBoxLayout(panel);
    auto* top = new QHBoxLayout;
    top->addWidget(saveBox);
    // The words of PDF documents and the cleaning of pages, one above the other beside the
    // formats.
    auto* right = new QVBoxLayout;
    right->addWidget(text);
    right->addWidget(buildCleaningGroup(panel));
    top->addLayout(right, 1);
    layout->addLayout(top);
    layout->addWidget(quality);
    layout->addWidget(Check10);
    layout->addWidget(Command3, 0, Qt::AlignLeft);
    layout->addStretch();
    return panel;
}

QFrame* SET_WIN::buildStartPage() {
    QFrame* panel = page(this, 4);
    Check8 = check(panel, "Check8", QT_TR_NOOP("取り込むTWAIN機器が前回と変わった場合知らせる。"));
    Check3 = check(panel, "Check3",
                   QT_TR_NOOP("前回終了時のフォルダーを次回起動時の表示フォルダーとする"));
    Check4 =
        check(panel, "Check4", QT_TR_NOOP("起動時複数枚表示時に絵の表示するかしないか聞いてくる"));
    Check6 = check(panel, "Check6", QT_TR_NOOP("直ちにTWAIN取り込みを行うか聞いてくる"));
    Check12 = check(panel, "Check12", QT_TR_NOOP("終了時に修了しますかを聞かない"));
    Check9 = check(panel, "Check9", QT_TR_NOOP("Snapletと連携する"));
    Text4 = edit(panel, "Text4");
    Command7 = button(panel, "Command7", QT_TR_NOOP("場所の指定"));
    auto* companion = new QGroupBox(QStringLiteral("Snaplet"), panel);
    auto* companionLayout = new QGridLayout(companion);
    Check9->setParent(companion);
    Text4->setParent(companion);
    Command7->setParent(companion);
    companionLayout->addWidget(Check9, 0, 0, 1, 2);
    companionLayout->addWidget(Text4, 1, 0);
    companionLayout->addWidget(Command7, 1, 1);
    auto* layout = new QVBoxLayout(panel);
    for (QWidget* control : {static_cast<QWidget*>(Check8), static_cast<QWidget*>(Check3),
                             static_cast<QWidget*>(Check4), static_cast<QWidget*>(Check6),
                             static_cast<QWidget*>(Check12), static_cast<QWidget*>(companion)}) {
        layout->addWidget(control);
    }
    layout->addStretch();
    return panel;
}
