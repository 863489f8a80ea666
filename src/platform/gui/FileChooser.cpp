// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/FileChooser.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QComboBox>
#include <QCompleter>
#include <QDateTime>
#include <QDir>
#include <QFileIconProvider>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QStringListModel>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>

#include "platform/gui/FileNames.h"
#include "platform/gui/SaveName.h"

namespace rostrix {

namespace {

// Where each dialog (by its title) was left this session, and what it was opened with.
struct LeftIn {
    QString initialDir, fileName;
    std::string folder;
};
std::map<QString, LeftIn> leftIn;

// Sorts by the column's key: the listing's order for names, the size (a folder's as
// none), the time.
class EntryItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return data(column, Qt::UserRole).toLongLong() <
               other.data(column, Qt::UserRole).toLongLong();
    }
};

QString sizeText(const QLocale& locale, std::uintmax_t size) {
    return size == 1 ? QStringLiteral("1 byte")
                     : locale.formattedDataSize(static_cast<qint64>(size));
}

std::string homeBytes() {
    return fileNameBytes(QDir::homePath());
}

QString defaultTitle(FileChooser::Mode mode) {
    return mode == FileChooser::Mode::Open   ? QStringLiteral("Open")
           : mode == FileChooser::Mode::Save ? QStringLiteral("Save As")
                                             : QStringLiteral("Choose Folder");
}

QToolButton* toolButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& name) {
    auto* button = new QToolButton(parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(name);
    button->setAccessibleName(name);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

}  // namespace

FileChooser::FileChooser(QWidget* parent, Mode mode, const FileDialogSpec& dialog)
    : QDialog(parent), mode_(mode), dialog_(dialog) {
    setObjectName(QStringLiteral("FileChooser"));
    setWindowTitle(dialog_.title.isEmpty() ? defaultTitle(mode) : dialog_.title);
    const QStringList parts = dialog_.filter.split('|');
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters_.push_back(filterPatterns(parts[i + 1].toStdString()));
    buildWindow();
    if (!filters_.empty()) patterns_ = filters_.front();

    ChooserStart start =
        chooserStart(fileNameBytes(QDir::currentPath()), dialog_.initialDir.toStdString(),
                     dialog_.fileName.toStdString(), homeBytes());
    // Opened as it was last time, it goes back to where it was left.
    const auto left = leftIn.find(windowTitle());
    if (left != leftIn.end() && left->second.initialDir == dialog_.initialDir &&
        left->second.fileName == dialog_.fileName && isFolder(left->second.folder))
        start.folder = left->second.folder;
    showFolder(start.folder);
    nameEdit_->setText(fileNameText(start.name));
    nameEdit_->setFocus();
    resize(640, 420);
}

void FileChooser::buildWindow() {
    auto* grid = new QGridLayout(this);
    auto* lookIn = new QLabel(QStringLiteral("Look &in:"), this);
    folderEdit_ = new QLineEdit(this);
    folderEdit_->setObjectName(QStringLiteral("FolderEdit"));
    lookIn->setBuddy(folderEdit_);
    upButton_ = toolButton(this, QStyle::SP_FileDialogToParent, QStringLiteral("Parent Folder"));
    auto* home = toolButton(this, QStyle::SP_DirHomeIcon, QStringLiteral("Home Folder"));
    auto* create = toolButton(this, QStyle::SP_FileDialogNewFolder, QStringLiteral("New Folder"));
    create->setVisible(mode_ != Mode::Open);
    auto* bar = new QHBoxLayout;
    bar->addWidget(folderEdit_, 1);
    for (QToolButton* b : {upButton_, home, create}) bar->addWidget(b);
    grid->addWidget(lookIn, 0, 0);
    grid->addLayout(bar, 0, 1, 1, 2);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("FileList"));
    list_->setAccessibleName(QStringLiteral("Files and folders"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setHeaderLabels(
        {QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Date Modified")});
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    list_->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    list_->sortByColumn(0, Qt::AscendingOrder);
    list_->setSortingEnabled(true);
    grid->addWidget(list_, 1, 0, 1, 3);

    auto* nameLabel = new QLabel(
        mode_ == Mode::Folder ? QStringLiteral("&Folder:") : QStringLiteral("File &name:"), this);
    nameEdit_ = new QLineEdit(this);
    nameEdit_->setObjectName(QStringLiteral("NameEdit"));
    completer_ = new QCompleter(new QStringListModel(this), this);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    nameEdit_->setCompleter(completer_);
    nameLabel->setBuddy(nameEdit_);
    const QString acceptText = mode_ == Mode::Open   ? QStringLiteral("&Open")
                               : mode_ == Mode::Save ? QStringLiteral("&Save")
                                                     : QStringLiteral("&Choose");
    acceptButton_ = new QPushButton(acceptText, this);
    acceptButton_->setObjectName(QStringLiteral("AcceptButton"));
    acceptButton_->setDefault(true);
    grid->addWidget(nameLabel, 2, 0);
    grid->addWidget(nameEdit_, 2, 1);
    grid->addWidget(acceptButton_, 2, 2);

    auto* typeLabel = new QLabel(QStringLiteral("Files of &type:"), this);
    typeBox_ = new QComboBox(this);
    typeBox_->setObjectName(QStringLiteral("FileType"));
    typeLabel->setBuddy(typeBox_);
    if (!dialog_.filter.isEmpty())
        typeBox_->addItems(qtFileFilter(dialog_.filter).split(QStringLiteral(";;")));
    typeLabel->setVisible(mode_ != Mode::Folder);
    typeBox_->setVisible(mode_ != Mode::Folder);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setAutoDefault(false);
    grid->addWidget(typeLabel, 3, 0);
    grid->addWidget(typeBox_, 3, 1);
    grid->addWidget(cancel, 3, 2);

    connect(upButton_, &QToolButton::clicked, this, &FileChooser::goUp);
    connect(home, &QToolButton::clicked, this, [this] { showFolder(homeBytes()); });
    connect(create, &QToolButton::clicked, this, &FileChooser::newFolder);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &FileChooser::itemActivated);
    connect(list_, &QTreeWidget::currentItemChanged, this, &FileChooser::currentChanged);
    connect(typeBox_, &QComboBox::currentIndexChanged, this, &FileChooser::applyFilter);
    connect(nameEdit_, &QLineEdit::textEdited, this, &FileChooser::nameEdited);
    connect(acceptButton_, &QPushButton::clicked, this, &FileChooser::acceptTyped);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Up), this), &QShortcut::activated, this,
            &FileChooser::goUp);
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this,
            &FileChooser::refresh);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_H), this), &QShortcut::activated, this,
            [this] {
                showHidden_ = !showHidden_;
                refresh();
            });
    QWidget* order[] = {nameEdit_, typeBox_, acceptButton_, cancel, list_, folderEdit_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

void FileChooser::showFolder(const std::string& folder) {
    // A folder that cannot be read (gone since it was listed, or not ours) is no place to
    // go: say so and stay where the list is.
    if (DIR* dir = ::opendir(folder.c_str())) {
        ::closedir(dir);
    } else if (!folder_.empty()) {
        return complain(
            QStringLiteral("Cannot open the folder %1: %2")
                .arg(fileNameText(folder), QString::fromLocal8Bit(std::strerror(errno))));
    }
    folder_ = folder;
    selectedName_.clear();
    leftIn[windowTitle()] = {dialog_.initialDir, dialog_.fileName, folder_};
    // A pattern typed for one folder is not carried into the next.
    if (typedPattern_) {
        if (nameEdit_->text().contains('*') || nameEdit_->text().contains('?')) nameEdit_->clear();
        return applyFilter();
    }
    refresh();
}

void FileChooser::refresh() {
    entries_ = chooserEntries(folder_, patterns_, showHidden_, mode_ == Mode::Folder);
    folderEdit_->setText(fileNameText(folder_));
    upButton_->setEnabled(folder_ != "/");
    list_->setSortingEnabled(false);
    list_->clear();
    QFileIconProvider icons;
    const QLocale locale;
    QStringList names;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const ChooserEntry& e = entries_[i];
        auto* item = new EntryItem(list_);
        names << fileNameText(e.name);
        item->setText(0, names.back());
        item->setIcon(0,
                      icons.icon(e.folder ? QFileIconProvider::Folder : QFileIconProvider::File));
        item->setData(0, Qt::UserRole, static_cast<int>(i));
        item->setData(1, Qt::UserRole, e.folder ? -1 : static_cast<qint64>(e.size));
        item->setData(2, Qt::UserRole, static_cast<qint64>(e.modified));
        if (!e.folder) {
            item->setText(1, sizeText(locale, e.size));
            item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        }
        item->setText(
            2, locale.toString(QDateTime::fromSecsSinceEpoch(e.modified), QLocale::ShortFormat));
    }
    list_->setSortingEnabled(true);
    static_cast<QStringListModel*>(completer_->model())->setStringList(names);
}

void FileChooser::applyFilter() {
    const int index = typeBox_->currentIndex();
    patterns_.clear();
    if (index >= 0 && static_cast<std::size_t>(index) < filters_.size())
        patterns_ = filters_[index];
    typedPattern_ = false;
    refresh();
}

void FileChooser::nameEdited(const QString& text) {
    if (text.isEmpty() && typedPattern_) applyFilter();
}

void FileChooser::currentChanged(QTreeWidgetItem* item) {
    if (!item) return;
    const ChooserEntry& e = entries_[item->data(0, Qt::UserRole).toInt()];
    if (e.folder != (mode_ == Mode::Folder)) return;
    selectedName_ = e.name;
    nameEdit_->setText(fileNameText(e.name));
}

void FileChooser::itemActivated(QTreeWidgetItem* item) {
    if (!item) return;
    const ChooserEntry& e = entries_[item->data(0, Qt::UserRole).toInt()];
    if (e.folder)
        showFolder(pathIn(folder_, e.name));
    else
        acceptFile(pathIn(folder_, e.name));
}

void FileChooser::acceptTyped() {
    // Enter reaches the default button from every box: it acts on the box it came from.
    if (list_->hasFocus()) return itemActivated(list_->currentItem());
    const bool inFolderBox = folderEdit_->hasFocus();
    const QString text = (inFolderBox ? folderEdit_ : nameEdit_)->text();
    if (!inFolderBox && !selectedName_.empty() && text == fileNameText(selectedName_))
        return acceptFile(pathIn(folder_, selectedName_));
    const ChooserStep step = typedStep(mode_, inFolderBox, folder_, text.toStdString(), homeBytes(),
                                       dialog_.defaultExt.toStdString());
    switch (step.kind) {
        case ChooserStep::Enter:
            showFolder(step.path);
            if (!inFolderBox) nameEdit_->clear();
            break;
        case ChooserStep::Choose:
            return acceptFile(step.path);
        case ChooserStep::Filter:
            patterns_ = {step.path};
            typedPattern_ = true;
            // What is typed next replaces the pattern rather than extending it.
            nameEdit_->selectAll();
            return refresh();
        case ChooserStep::NoSuchFile:
            return complain(
                QStringLiteral("%1\nFile not found.\nCheck the file name and try again.")
                    .arg(fileNameText(step.path)));
        case ChooserStep::NoSuchFolder:
            complain(QStringLiteral("The folder %1 does not exist.").arg(fileNameText(step.path)));
            folderEdit_->setText(fileNameText(folder_));
            break;
        case ChooserStep::Nothing:
            break;
    }
}

void FileChooser::acceptFile(const std::string& path) {
    std::error_code ec;
    if (mode_ == Mode::Save && dialog_.confirmOverwrite && std::filesystem::exists(path, ec) &&
        !isFolder(path)) {
        const QString question = QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                     .arg(fileNameText(fileNamePart(path)));
        if (dialogs().message(this, windowTitle(), question, MsgIcon::Warning, Yes | No) != Yes)
            return;
    }
    chosen_ = path;
    accept();
}

void FileChooser::goUp() {
    if (folder_ != "/") showFolder(parentFolder(folder_));
}

void FileChooser::newFolder() {
    const auto name =
        dialogs().inputBox(this, QStringLiteral("New Folder"), QStringLiteral("Folder name:"),
                           QStringLiteral("New Folder"));
    if (!name || name->trimmed().isEmpty()) return;
    const std::string path = pathIn(folder_, fileNameBytes(*name));
    if (name->contains('/') || ::mkdir(path.c_str(), 0777) != 0)
        return complain(
            QStringLiteral("Cannot create folder %1: %2")
                .arg(fileNameText(path), name->contains('/')
                                             ? QStringLiteral("a name cannot hold \"/\"")
                                             : QString::fromLocal8Bit(std::strerror(errno))));
    refresh();
    const auto found = list_->findItems(*name, Qt::MatchExactly);
    if (!found.isEmpty()) list_->setCurrentItem(found.front());
}

void FileChooser::complain(const QString& text) {
    dialogs().message(this, windowTitle(), text, MsgIcon::Warning, Ok);
}

void FileChooser::forgetFolders() {
    leftIn.clear();
}

void FileChooser::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace && list_->hasFocus()) return goUp();
    QDialog::keyPressEvent(event);
}

}  // namespace rostrix
