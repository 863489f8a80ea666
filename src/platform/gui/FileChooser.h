// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "platform/ChooserFolder.h"
#include "platform/gui/Dialogs.h"

class QComboBox;
class QCompleter;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace rostrix {

// The program's own file and folder chooser. It lists a folder by the bytes of its
// names, so a file whose name is not valid UTF-8 (a team file copied from an old Windows
// disk) is listed, shown readably and opened like any other, which the toolkit's own
// dialog cannot do: it leaves such names out.
class FileChooser : public QDialog {
    Q_OBJECT
public:
    using Mode = ChooserMode;

    FileChooser(QWidget* parent, Mode mode, const FileDialogSpec& dialog);

    // The chosen path as the file system spells it.
    const std::string& chosenBytes() const { return chosen_; }
    // The folder shown now (bytes).
    const std::string& folder() const { return folder_; }
    void showFolder(const std::string& folder);
    // Forgets the folders the dialogs were left in (a new session).
    static void forgetFolders();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildWindow();
    void refresh();
    void applyFilter();
    void nameEdited(const QString& text);
    void itemActivated(QTreeWidgetItem* item);
    void currentChanged(QTreeWidgetItem* item);
    void acceptTyped();
    void acceptFile(const std::string& path);
    void goUp();
    void newFolder();
    void complain(const QString& text);

    Mode mode_;
    FileDialogSpec dialog_;
    std::string folder_;
    std::string chosen_;
    std::string selectedName_;  // bytes of the entry the name box was filled from
    std::vector<std::vector<std::string>> filters_;
    std::vector<std::string> patterns_;
    bool typedPattern_ = false;  // patterns_ is what was typed, not the type box's
    std::vector<ChooserEntry> entries_;
    bool showHidden_ = false;

    QLineEdit* folderEdit_ = nullptr;
    QToolButton* upButton_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QLineEdit* nameEdit_ = nullptr;
    QComboBox* typeBox_ = nullptr;
    QCompleter* completer_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
};

}  // namespace rostrix
