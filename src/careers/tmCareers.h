// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class TForm15;
}

namespace rostrix {
class CareerArchive;
class CareerLeaders;
class PlayerListModel;
class SeasonTableModel;
class LeaderModel;
}  // namespace rostrix

// The careers window: reads player.dat back and shows, for a player found by name, his
// seasons, career totals and a chart; and the archive's leaders. It only reads.
class TForm15 : public QDialog {
    Q_OBJECT

public:
    explicit TForm15(QWidget* parent = nullptr);
    ~TForm15() override;

    // Reads folder's player.dat afresh and lists its careers.
    void loadArchive(const std::string& folder);
    // Shows the career's seasons and selects it in the players list.
    void openCareer(int career);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SearchEditChange();
    void PlayerListRowChange();
    void ChartComboChange();
    void ExportButtonClick();
    void StatComboChange();
    void LeaderTableActivate(int row);
    void TabsChange();

    void showArchiveLine();
    void selectCareerRow();
    void fillChartCombo();
    void fillStatCombo();

    std::unique_ptr<Ui::TForm15> ui;
    std::string folder_;
    std::unique_ptr<rostrix::CareerArchive> archive_;
    std::unique_ptr<rostrix::CareerLeaders> leaders_;
    rostrix::PlayerListModel* players_;
    rostrix::SeasonTableModel* seasons_;
    rostrix::LeaderModel* leaderRows_;
    int career_ = -1;
    int minimum_[2] = {500, 250};  // at bats, innings
};

namespace rostrix {

// Opens the careers window over `over` on folder's player.dat, modally; it is made for this
// opening and gone when it closes, so it keeps nothing from one opening to the next.
void openCareers(QWidget* over, const std::string& folder);

}  // namespace rostrix
