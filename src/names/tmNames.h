// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "names/NamePass.h"
#include "names/PassReport.h"
#include "platform/gui/Dialogs.h"

class QCheckBox;
class QPlainTextEdit;

namespace Ui {
class TForm5;
}

// "QRD Names Utility": encodes and decodes the player names of one opened team file (Go!)
// or of every checked file of a folder (Fix Selected), writing each file back in place.
class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);
    ~TForm5() override;

    // The folder whose .dat files are listed (file-system bytes, no trailing separator).
    // The main window sets it before every opening; Change Dir replaces it.
    std::string CurrentFolder;
    // The file the next Go! writes: the opened file, or the last one Fix Selected handled.
    std::string CurrentFile;
    // The lines the pass works on and writes, kept apart from the editable text pane so
    // that typing in the pane never reaches a file.
    std::vector<std::string> WorkingBuffer;
    rostrix::FileDialogSpec OpenDialog1;

    QPlainTextEdit* Memo1() const;

    void FormShow();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void CheckBox1Click();
    void CheckBox2Click(QCheckBox* sender);
    void CheckBox4Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    rostrix::DuplicateOption duplicateOption() const;
    rostrix::NamePass namePass();
    std::optional<char> askForDuplicate(const rostrix::DuplicateName& name);
    void loadFile(const std::string& path);
    rostrix::PassCount passAndSave();
    void showReport(const std::string& text);
    void showFolder();
    void fillFileList();

    std::unique_ptr<Ui::TForm5> ui;
    // True while the working buffer holds the lines of CurrentFile, loaded during this
    // showing: Go! never writes a buffer that belongs to no file.
    bool loaded_ = false;
};
