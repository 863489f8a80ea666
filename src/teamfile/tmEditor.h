// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "platform/gui/Dialogs.h"

class QPlainTextEdit;

namespace Ui {
class TForm4;
}
namespace rostrix {
class CheckPanel;
class CursorPlaceLine;
class EditorViews;
class EditorSaving;
}  // namespace rostrix

// The team file editor: one team file at a time in a text pane, with the roster filter
// and the archive commands on its tool bar.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
    ~TForm4() override;

    // The path the pane's text belongs to (file-system bytes), or the bare "Untitled.dat"
    // for a text that was never saved.
    std::string CurrentFile;
    // Where the archive files go: the current directory when the window was created.
    std::string ArchiveDirectory;
    rostrix::FileDialogSpec OpenDialog1;
    rostrix::FileDialogSpec SaveDialog1;

    QPlainTextEdit* Memo1() const;

    // The close box and every other close request end up here and ask about unsaved
    // changes.
    void reject() override;

protected:
    // Esc does not close the editor; it closes the problem list when that is open.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();
    bool FormCloseQuery();
    void Memo1Change();
    void ToolButton2Click();
    void ToolButton3Click();
    void ToolButton4Click();
    void ToolButton5Click();
    void ToolButton23Click();
    void ToolButton28Click();
    void ToolButton29Click();
    void CheckFileClick();

    void arrangeToolBar();
    void layOut();
    void setModifiedFlag(bool modified);

    std::unique_ptr<Ui::TForm4> ui;
    std::unique_ptr<rostrix::EditorSaving> saving_;
    rostrix::CheckPanel* checkPanel_ = nullptr;
    rostrix::CursorPlaceLine* placeLine_ = nullptr;
    rostrix::EditorViews* views_ = nullptr;
};
