// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class TForm3;
}

// The player stat archive window: lists a team's lines with check boxes and files the
// players' seasons, all or the checked ones, into player.dat in ArchiveDirectory.
class TForm3 : public QDialog {
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

    // Replaces the list with the lines, all unchecked.
    void setTeamLines(const std::vector<std::string>& lines);

    // The folder of player.dat: the current directory when the window was created.
    std::string ArchiveDirectory;
    // The team file the lines come from, named when the team check finds problems.
    std::string TeamFile;

signals:
    // Each status text as it is shown.
    void statusShown(const QString& text);

private:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void FormCreate();

    std::string archivePath() const;
    std::vector<std::string> teamLines() const;
    std::vector<bool> checkedLines() const;
    void showStatus(const char* text);
    void writePlayers(const std::vector<bool>& checked);

    std::unique_ptr<Ui::TForm3> ui;
};

namespace rostrix {
// Before a team goes into an archive: true when the team check finds nothing, or when the
// user, asked "<file> has N problems. File it into <archive> anyway?", answers Yes.
bool fileIntoArchive(QWidget* owner, const std::string& teamFile,
                     const std::vector<std::string>& lines, const char* archiveName);
}  // namespace rostrix
