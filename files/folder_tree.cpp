#include "folder_tree.h"

#include "folder_reveal.h"
#include "program.h"

#include <QAbstractFileIconProvider>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QStorageInfo>
#include <QTreeView>
#include <cerrno>
#include <cstring>
#include <dirent.h>

namespace folder_tree {

namespace {

QFileSystemModel* modelOf(const QTreeView* tree) {
    return qobject_cast<QFileSystemModel*>(tree->model());
}

// The generic folder icon, without a theme lookup per entry; made after the model as a child of
// the same tree, so that it goes after the model.
class PlainIcons : public QObject {
public:
    explicit PlainIcons(QObject* tree) : QObject(tree) {}
    QAbstractFileIconProvider provider;
};

QString withoutSlash(QString folder) {
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder;
}

} // namespace

QTreeView* make(QWidget* parent, const char* name) {
    auto* tree = new QTreeView(parent);
    tree->setObjectName(QString::fromLatin1(name));
    auto* model = new QFileSystemModel(tree);
    // Folders only, with the plain folder icon: a themed icon looked up for every entry of every
    // folder on the way is what made a deep folder take seconds to come into view.
    model->setOption(QFileSystemModel::DontUseCustomDirectoryIcons);
    model->setIconProvider(&(new PlainIcons(tree))->provider);
    model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model->setRootPath(QStringLiteral("/"));
    tree->setModel(model);
    tree->setHeaderHidden(true);
    for (int column = 1; column < model->columnCount(); ++column) {
        tree->hideColumn(column);
    }
    // Deep folders scroll sideways instead of losing their names.
    tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tree->header()->setStretchLastSection(false);
    tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    tree->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // "/" is a row of its own, the first, so that choosing it shows it chosen.
    tree->setRootIndex(model->index(QStringLiteral("/")).parent());
    tree->expand(model->index(QStringLiteral("/")));
    return tree;
}

bool show(QTreeView* tree, const QString& folder) {
    QFileSystemModel* model = modelOf(tree);
    const QString path = withoutSlash(folder);
    if (model == nullptr || path.isEmpty() || !QFileInfo(path).isDir()) {
        return false;
    }
    const QModelIndex index = model->index(path);
    if (!index.isValid()) {
        return false;
    }
    // The tree reads folders in the background: the revealer scrolls again as they arrive.
    auto* reveal = tree->findChild<FolderReveal*>(QString(), Qt::FindDirectChildrenOnly);
    if (reveal == nullptr) {
        reveal = new FolderReveal(tree, model);
    }
    reveal->reveal(model->filePath(index));
    return true;
}

QString path(const QTreeView* tree) {
    const QFileSystemModel* model = modelOf(tree);
    const QModelIndex index = tree->currentIndex();
    if (model == nullptr || !index.isValid()) {
        return {};
    }
    return withoutSlash(model->filePath(index));
}

void fillDrives(QComboBox* drives) {
    drives->clear();
    drives->addItem(QStringLiteral("/"));
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && volume.rootPath() != QLatin1String("/")) {
            drives->addItem(volume.rootPath());
        }
    }
}

void selectDriveOf(QComboBox* drives, const QString& folder) {
    const QString path = withSlash(folder);
    int best = 0;
    qsizetype bestLength = 0;
    for (int i = 0; i < drives->count(); ++i) {
        const QString root = withSlash(drives->itemText(i));
        if (path.startsWith(root) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    drives->setCurrentIndex(best);
}

bool moveToDrive(Program& program, QWidget* owner, QTreeView* tree, const QString& root) {
    const QByteArray native = QFile::encodeName(root);
    DIR* dir = ::opendir(native.constData());
    const int error = dir == nullptr ? errno : 0;
    if (dir != nullptr) {
        ::closedir(dir);
    }
    if (error != 0 || !show(tree, root)) {
        Prompter::Message message;
        message.caption = program.APP_TITLE;
        message.icon = Prompter::Icon::Exclamation;
        const int code = error == 0 ? ENOENT : error;
        message.text =
            QCoreApplication::translate(
                "folder_tree", "ドライブ指定エラー \nErrorCode (%1)\n理由 : %2\n指定を中止します")
                .arg(QString::number(code), QString::fromLocal8Bit(std::strerror(code)));
        program.prompter.message(owner, message);
        return false;
    }
    return true;
}

QString withSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace folder_tree
