#include "folder_chooser.h"

#include "dialog_buttons.h"
#include "dialog_placement.h"
#include "folder_tree.h"
#include "program.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

FolderChooser::FolderChooser(Program& program, QWidget* owner, const char* name,
                             const QString& caption, bool ownWindow)
    : QDialog(owner, ownWindow ? Qt::Window : Qt::Dialog), program_(program) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Drive1 = new QComboBox(Frame1);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    folder_tree::fillDrives(Drive1);
    Dir1 = folder_tree::make(Frame1, "Dir1");
    Dir1->setMinimumSize(320, 300);
    auto* lists = new QVBoxLayout(Frame1);
    lists->addWidget(Drive1);
    lists->addWidget(Dir1);

    QHBoxLayout* buttons = okCancelRow(this, Command1, "Command1", Command2, "Command2");
    Command1->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);

    connect(Drive1, &QComboBox::activated, this, &FolderChooser::onDrive1);
    connect(Command1, &QPushButton::clicked, this, [this] { accepted(); });
    connect(Command2, &QPushButton::clicked, this, &QDialog::close);
    placeOverOwner(this, owner);
    // The arrow keys walk the folders; Enter takes the one shown.
    Dir1->setFocus();
}

void FolderChooser::startAt(const QString& start) {
    QString folder = start;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    // A folder that is gone: its nearest existing parent.
    while (!folder_tree::show(Dir1, folder.isEmpty() ? QStringLiteral("/") : folder)) {
        const qsizetype slash = folder.lastIndexOf(QLatin1Char('/'));
        if (slash <= 0) {
            folder_tree::show(Dir1, QStringLiteral("/"));
            break;
        }
        folder.truncate(slash);
    }
    folder_tree::selectDriveOf(Drive1, folder_tree::path(Dir1));
    shownDrive_ = Drive1->currentIndex();
}

void FolderChooser::onDrive1(int index) {
    if (folder_tree::moveToDrive(program_, this, Dir1, Drive1->itemText(index))) {
        shownDrive_ = index;
    } else {
        Drive1->setCurrentIndex(shownDrive_);
    }
}

QString FolderChooser::chosenFolder() const {
    const QString path = folder_tree::path(Dir1);
    return path.isEmpty() ? QString() : folder_tree::withSlash(path);
}
