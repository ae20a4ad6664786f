#include "ren_win.h"

#include "browsing.h"
#include "dialog_buttons.h"
#include "dialog_placement.h"
#include "display_refresh.h"
#include "file_system.h"
#include "file_times.h"
#include "file_view.h"
#include "native_name.h"
#include "program.h"
#include "snaplet_inf.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QVBoxLayout>

namespace {

constexpr int kDosBytes = 9;

bool isUpperable(QChar c) {
    return c >= QLatin1Char('a') && c <= QLatin1Char('z');
}

} // namespace

REN_WIN::REN_WIN(Program& program, FileView& view, QWidget* owner)
    : QDialog(owner), program_(program), view_(view), folder_(browsing::displayFolder(program)),
      oldName_(program.RENAME_NAME) {
    setObjectName(QStringLiteral("REN_WIN"));
    setWindowTitle(tr("%1 Rename").arg(program.APP_TITLE));
    setAttribute(Qt::WA_DeleteOnClose);

    Frame1 = new QGroupBox(tr("変更前ファイル名"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label1 = new QLabel(native_name::forDisplay(oldName_), Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    (new QVBoxLayout(Frame1))->addWidget(Label1);

    Frame2 = new QGroupBox(tr("変更後のファイル名"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Text1 = new QLineEdit(Frame2);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setMinimumWidth(260);
    Label2 = new QLabel(extensionOf(oldName_), Frame2);
    Label2->setObjectName(QStringLiteral("Label2"));
    auto* names = new QHBoxLayout(Frame2);
    names->addWidget(Text1);
    names->addWidget(Label2);

    RENAMEDATE = new QCheckBox(tr("ファイル作成日時を変化させない"), this);
    RENAMEDATE->setObjectName(QStringLiteral("RENAMEDATE"));
    DOSNAME = new QCheckBox(tr("MS-DOS互換ファイル名とする"), this);
    DOSNAME->setObjectName(QStringLiteral("DOSNAME"));

    QHBoxLayout* buttons = okCancelRow(this, OK, "OK", CANCEL, "CANCEL");
    // Enter belongs to the name box: it checks the name, it does not press a button.
    OK->setAutoDefault(false);
    CANCEL->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addWidget(Frame2);
    layout->addWidget(RENAMEDATE);
    layout->addWidget(DOSNAME);
    layout->addLayout(buttons);

    const USR_SETTINGS& settings = program.settings;
    // The name without its extension, as the file system has it.
    Text1->setText(oldName_.left(oldName_.size() - Label2->text().size()));
    DOSNAME->setChecked(settings.RNDN == 0);
    RENAMEDATE->setChecked(settings.RNDU != 0);

    Text1->installEventFilter(this);
    connect(Text1, &QLineEdit::textEdited, this, &REN_WIN::onTextEdited);
    connect(DOSNAME, &QCheckBox::clicked, this, &REN_WIN::onDOSNAME);
    connect(OK, &QPushButton::clicked, this, &REN_WIN::onOK);
    connect(CANCEL, &QPushButton::clicked, this, &QDialog::close);
    placeOverOwner(this, owner);
    Text1->setFocus();
}

REN_WIN::~REN_WIN() {
    program_.settings.RNDU = RENAMEDATE->isChecked() ? 1 : 0;
}

bool REN_WIN::refused(QChar c, bool dosNames) {
    switch (c.unicode()) {
    case 34:
    case 42:
    case 46:
    case 47:
    case 58:
    case 59:
    case 60:
    case 62:
    case 92:
    case 124:
        return true;
    case 32:
        return dosNames;
    default:
        return c.unicode() < 32;
    }
}

QString REN_WIN::dosShortened(const QString& text) {
    QStringEncoder encoder(QStringEncoder::System);
    qsizetype bytes = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype length = text.at(end).isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        const qsizetype size = QByteArray(encoder(text.mid(end, length))).size();
        if (bytes + size > kDosBytes) {
            break;
        }
        bytes += size;
        end += length;
    }
    return text.left(end);
}

QString REN_WIN::extensionOf(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    // As the file has it: this file system tells ".jpg" from ".JPG".
    return dot < 0 ? QString() : name.mid(dot);
}

bool REN_WIN::taken(const QString& name) const {
    // Names that differ in letter case only are one name to the user, as everywhere else.
    return !file_system::findName(folder_, name).isEmpty();
}

void REN_WIN::onTextEdited(const QString& text) {
    const bool dos = program_.settings.RNDN == 0;
    QString cleaned;
    for (const QChar c : text) {
        if (!refused(c, dos)) {
            cleaned += dos && isUpperable(c) ? c.toUpper() : c;
        }
    }
    if (cleaned != text) {
        const int cursor = Text1->cursorPosition() - int(text.size() - cleaned.size());
        Text1->setText(cleaned);
        Text1->setCursorPosition(std::max(0, cursor));
    }
}

void REN_WIN::validate() {
    if (program_.settings.RNDN == 0) {
        const QString shortened = dosShortened(Text1->text());
        if (shortened != Text1->text()) {
            Text1->setText(shortened);
        }
    }
}

void REN_WIN::onDOSNAME() {
    if (!DOSNAME->isChecked()) {
        program_.settings.RNDN = 1;
        return;
    }
    program_.settings.RNDN = 0;
    validate();
}

bool REN_WIN::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Text1) {
        return false;
    }
    if (event->type() == QEvent::FocusOut) {
        validate();
        return false;
    }
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        validate();
        if (!Text1->text().isEmpty()) {
            if (taken(Text1->text() + Label2->text())) {
                program_.tell(this, tr("既に存在するファイル名です。"));
            } else {
                onOK();
            }
        }
        return true;
    }
    const QString typed = key->text();
    // Tab, Backspace and the other control keys do their usual work.
    if (typed.size() != 1 || typed.at(0).unicode() < 32 ||
        (key->modifiers() & Qt::ControlModifier) != 0) {
        return false;
    }
    const bool dos = program_.settings.RNDN == 0;
    if (refused(typed.at(0), dos)) {
        return true;
    }
    if (dos && isUpperable(typed.at(0))) {
        Text1->insert(typed.toUpper());
        return true;
    }
    return false;
}

void REN_WIN::onOK() {
    validate();
    if (Text1->text().isEmpty()) {
        return;
    }
    const QString oldPath = folder_ + oldName_;
    const QString newName = Text1->text() + Label2->text();
    const QString path = folder_ + newName;
    if (taken(newName)) {
        program_.tell(this, tr("指定したファイル名は既に存在します。"));
        return;
    }
    if (!file_system::exists(oldPath)) {
        program_.tell(this, tr("ソース側ファイルが存在しません。"));
        return;
    }
    FileTimes times;
    const bool haveTimes = GET_FILE_TIMES(oldPath, times) == 0;
    const file_system::Result renamed = file_system::renameNoReplace(oldPath, path);
    if (!renamed.ok) {
        // The dialog stays, so that another name can be tried.
        program_.tell(this, tr("%1\nへ名前を変更できませんでした。\n理由 : %2")
                                .arg(native_name::forDisplay(newName), renamed.reason));
        return;
    }
    if (RENAMEDATE->isChecked() && haveTimes) {
        SET_FILE_TIMES(path, times);
    }
    if (program_.settings.UTNT == 1) {
        companionFolder(folder_).renameFile(native_name::toBytes(oldName_).toStdString(),
                                            native_name::toBytes(newName).toStdString());
    }
    view_.refresh().fileRenamed(oldName_, newName);
    close();
}
