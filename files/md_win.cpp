#include "md_win.h"

#include "dialog_buttons.h"
#include "dialog_placement.h"
#include "file_system.h"
#include "file_view.h"
#include "folder_tree.h"
#include "native_name.h"
#include "program.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

MD_WIN::MD_WIN(Program& program, FileView& view, QWidget* owner)
    : QDialog(owner), program_(program), view_(view) {
    setObjectName(QStringLiteral("MD_WIN"));
    setWindowTitle(tr("フォルダー作成"));
    setAttribute(Qt::WA_DeleteOnClose);
    Frame1 = new QGroupBox(tr("作成するフォルダー名"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    ADD_DIR = new QLineEdit(Frame1);
    ADD_DIR->setObjectName(QStringLiteral("ADD_DIR"));
    ADD_DIR->setMinimumWidth(280);
    ADD_DIR->installEventFilter(this);
    (new QVBoxLayout(Frame1))->addWidget(ADD_DIR);
    QHBoxLayout* buttons = okCancelRow(this, OK, "OK", CANCEL, "CANCEL");
    // Enter belongs to the name box: it checks the name, it does not press a button.
    OK->setAutoDefault(false);
    CANCEL->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);
    connect(OK, &QPushButton::clicked, this, &MD_WIN::onOK);
    connect(CANCEL, &QPushButton::clicked, this, &QDialog::close);
    placeOverOwner(this, owner);
}

QString MD_WIN::newPath() {
    const QString name = ADD_DIR->text();
    if (name.isEmpty()) {
        program_.tell(this, tr("フォルダー(ディレクトリー)名が指定されていません。"));
        return {};
    }
    if (view_.trayFolder().isEmpty()) {
        program_.tell(this, tr("フォルダーを作成する場所がファイルトレイで選ばれていません。"));
        return {};
    }
    if (name.contains(QLatin1Char('/'))) {
        program_.tell(this, tr("フォルダー(ディレクトリー)名に \"/\" は使えません。"));
        return {};
    }
    return folder_tree::withSlash(view_.trayFolder()) + name;
}

bool MD_WIN::existing(const QString& path) {
    if (!file_system::isFolder(path)) {
        return false;
    }
    program_.tell(this, tr("%1\nは既に存在するフォルダー(ディレクトリー)名です。")
                            .arg(native_name::forDisplay(path)));
    ADD_DIR->setFocus();
    return true;
}

void MD_WIN::onOK() {
    const QString path = newPath();
    if (path.isEmpty() || existing(path)) {
        return;
    }
    const file_system::Result made = file_system::makeFolder(path);
    if (!made.ok) {
        program_.tell(this, tr("%1\nを作成できませんでした。\n理由 : %2")
                                .arg(native_name::forDisplay(path), made.reason));
        ADD_DIR->setFocus();
        return;
    }
    view_.relistTrayFolder();
    close();
}

bool MD_WIN::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ADD_DIR || event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (!ADD_DIR->text().isEmpty()) {
            existing(folder_tree::withSlash(view_.trayFolder()) + ADD_DIR->text());
        }
        return true;
    }
    // A folder name cannot hold the path separator.
    return key->text() == QLatin1String("/");
}
