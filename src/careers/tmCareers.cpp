// SPDX-License-Identifier: GPL-3.0-or-later
#include "careers/tmCareers.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>

#include "careers/CareerCsv.h"
#include "careers/gui/ArchiveLoading.h"
#include "careers/gui/CareerModels.h"
#include "careers/gui/CareersLayout.h"
#include "careers/gui/ColumnChooser.h"
#include "platform/Error.h"
#include "platform/LineFile.h"
#include "platform/gui/AccessibleLabels.h"
#include "platform/gui/ErrorBox.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/SaveName.h"
#include "platform/gui/WindowMemory.h"
#include "ui_tmCareers.h"

using namespace rostrix;

namespace {

// The statistic a chart opens with.
const char* defaultChart(CareerRole role) {
    return role == CareerRole::Pitcher ? "SO" : "HR";
}

int decimalsOf(const CareerColumn& column) {
    if (column.kind == ColumnKind::Count) return 0;
    return column.kind == ColumnKind::Era ? 2 : 3;
}

void fitColumns(QTableView* table) {
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->verticalHeader()->hide();
}

}  // namespace

TForm15::TForm15(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMaximizeButtonHint),
      ui(std::make_unique<Ui::TForm15>()),
      players_(new PlayerListModel(this)),
      seasons_(new SeasonTableModel(this)),
      leaderRows_(new LeaderModel(this)) {
    ui->setupUi(this);
    setSizeGripEnabled(true);
    ui->PlayerList->setModel(players_);
    ui->SeasonTable->setModel(seasons_);
    ui->LeaderTable->setModel(leaderRows_);
    // A hundred thousand rows: fixed widths and heights keep the list quick.
    ui->PlayerList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ui->PlayerList->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    ui->PlayerList->verticalHeader()->hide();
    // The name takes what the other columns leave; their widths are measured once per
    // archive, not at every keystroke.
    ui->PlayerList->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    ui->Splitter->setSizes({fontMetrics().horizontalAdvance(QStringLiteral("x")) * 64, width()});
    ui->PlayerList->sortByColumn(0, Qt::AscendingOrder);
    fitColumns(ui->SeasonTable);
    fitColumns(ui->LeaderTable);
    // Every column as wide as it needs, the rest of a wide table left empty; a narrow one
    // scrolls sideways, and the headers' menu hides and shows columns.
    for (QTableView* table : {ui->SeasonTable, ui->LeaderTable}) new ColumnChooser(table);
    keepCareersLayout(ui->Splitter, ui->SeasonTable, ui->LeaderTable);
    // Installed last, so it acts first: the window takes its place, then the divider its.
    rememberPlace(this, "Careers");
    ui->SearchEdit->installEventFilter(this);
    ui->Splitter->setStretchFactor(1, 3);
    markAsStatus(ui->ArchiveLabel);
    markAsStatus(ui->TotalsNote);
    fillStatCombo();
    ui->SearchEdit->setFocus();

    connect(ui->SearchEdit, &QLineEdit::textChanged, this, guard([this] { SearchEditChange(); }));
    // After a sort (the view's own handler has run by then) the chosen player stays chosen.
    connect(ui->PlayerList->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this] { selectCareerRow(); });
    connect(ui->PlayerList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            guard([this] { PlayerListRowChange(); }));
    connect(ui->ChartCombo, &QComboBox::currentIndexChanged, this,
            guard([this] { ChartComboChange(); }));
    connect(ui->ExportButton, &QPushButton::clicked, this, guard([this] { ExportButtonClick(); }));
    connect(ui->StatCombo, &QComboBox::currentIndexChanged, this,
            guard([this] { StatComboChange(); }));
    connect(ui->MinimumSpin, &QSpinBox::valueChanged, this, guard([this] { StatComboChange(); }));
    connect(ui->LeaderTable, &QTableView::activated, this, [this](const QModelIndex& index) {
        guarded([&] { LeaderTableActivate(index.row()); });
    });
    connect(ui->Tabs, &QTabWidget::currentChanged, this, guard([this] { TabsChange(); }));
    connect(ui->CloseButton, &QPushButton::clicked, this, &QDialog::accept);
}

TForm15::~TForm15() = default;

void TForm15::loadArchive(const std::string& folder) {
    folder_ = folder;
    players_->setArchive(nullptr);
    leaderRows_->setLeaders(nullptr, nullptr, CareerRole::Batter, 0, {});
    leaders_.reset();
    archive_ = readCareerArchive(isVisible() ? this : parentWidget(), folder + "/player.dat");
    players_->setArchive(archive_.get());
    players_->sort(ui->PlayerList->horizontalHeader()->sortIndicatorSection(),
                   ui->PlayerList->horizontalHeader()->sortIndicatorOrder());
    players_->search(ui->SearchEdit->text());
    for (int column = 1; column < players_->columnCount(); ++column)
        ui->PlayerList->resizeColumnToContents(column);
    showArchiveLine();
    openCareer(players_->careerAt(0));
}

void TForm15::showArchiveLine() {
    ui->ArchiveLabel->setText(archiveLineText(*archive_));
}

// A player the search leaves out is no longer shown beside the list.
void TForm15::SearchEditChange() {
    players_->search(ui->SearchEdit->text());
    if (career_ >= 0 && players_->rowOf(static_cast<std::size_t>(career_)) < 0) openCareer(-1);
    selectCareerRow();
}

// Down and Enter in the search box go to the first player found.
bool TForm15::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->SearchEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter) &&
            players_->rowCount() > 0) {
            ui->PlayerList->setFocus();
            ui->PlayerList->setCurrentIndex(players_->index(0, 0));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// The shown career's row chosen again, when the list still has it.
void TForm15::selectCareerRow() {
    if (career_ < 0) return;
    const int row = players_->rowOf(static_cast<std::size_t>(career_));
    if (row < 0) return;
    ui->PlayerList->selectRow(row);
    ui->PlayerList->scrollTo(players_->index(row, 0));
}

void TForm15::PlayerListRowChange() {
    const int career = players_->careerAt(ui->PlayerList->currentIndex().row());
    if (career >= 0 && career != career_) openCareer(career);
}

void TForm15::openCareer(int career) {
    if (!archive_ || career < 0 || career >= static_cast<int>(archive_->careers().size())) {
        career_ = -1;
        seasons_->setSeasons({}, CareerRole::Batter);
        ui->PlayerLabel->setText(QStringLiteral("Seasons"));
        ui->TotalsNote->clear();
        ui->ExportButton->setEnabled(false);
        fillChartCombo();
        ChartComboChange();
        return;
    }
    career_ = career;
    const CareerSummary& c = archive_->careers()[static_cast<std::size_t>(career)];
    const bool roleChanged = seasons_->role() != c.role || ui->ChartCombo->count() == 0;
    seasons_->setSeasons(archive_->seasons(static_cast<std::size_t>(career)), c.role);
    ui->PlayerLabel->setText(
        QStringLiteral("Seasons of %1 (%2)").arg(latin1Text(c.name), roleText(c.role).toLower()));
    ui->TotalsNote->setText(c.seasons == 0
                                ? QStringLiteral("No seasons are filed under this name.")
                                : QString::fromStdString(leftOutNote(seasons_->leftOut())));
    ui->ExportButton->setEnabled(c.seasons > 0);
    if (roleChanged) fillChartCombo();
    ChartComboChange();
    // The list follows, also when the career was opened from the leaders.
    int row = players_->rowOf(static_cast<std::size_t>(career));
    if (row < 0) {
        ui->SearchEdit->clear();
        row = players_->rowOf(static_cast<std::size_t>(career));
    }
    if (row >= 0 && ui->PlayerList->currentIndex().row() != row) selectCareerRow();
}

void TForm15::fillChartCombo() {
    const QSignalBlocker block(ui->ChartCombo);
    ui->ChartCombo->clear();
    const CareerRole role = seasons_->role();
    const auto& columns = careerColumns(role);
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (isStatistic(columns[i]))
            ui->ChartCombo->addItem(QString::fromLatin1(columns[i].title), static_cast<int>(i));
    ui->ChartCombo->setCurrentIndex(
        ui->ChartCombo->findData(static_cast<int>(columnIndex(role, defaultChart(role)))));
}

void TForm15::ChartComboChange() {
    const int column = ui->ChartCombo->currentData().toInt();
    const CareerRole role = seasons_->role();
    const CareerColumn& c = careerColumns(role).at(static_cast<std::size_t>(column));
    ui->Chart->showPoints(QString::fromLatin1(c.title),
                          chartPoints(seasons_->seasons(), role, static_cast<std::size_t>(column)),
                          decimalsOf(c));
}

void TForm15::ExportButtonClick() {
    if (career_ < 0) return;
    const std::string name(archive_->careers()[static_cast<std::size_t>(career_)].name);
    FileDialogSpec dialog{QStringLiteral("Export Career"),     QStringLiteral("csv"),
                          QStringLiteral("CSV Files|*.csv"),   fileNameText(folder_),
                          careerCsvFileName(latin1Text(name)), false};
    const auto path = chooseSaveName(this, dialog, std::string());
    if (!path) return;
    if (int why = 0; !writeFileAtomic(*path, careerCsv(name, seasons_->seasons()), &why))
        throw Error(fileFailureText("Cannot create file %s", *path, why));
    ui->ArchiveLabel->setText(
        QStringLiteral("%1 written to %2.").arg(latin1Text(name), fileNameText(*path)));
}

void TForm15::fillStatCombo() {
    for (const CareerRole role : {CareerRole::Batter, CareerRole::Pitcher}) {
        const auto& columns = careerColumns(role);
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (isStatistic(columns[i]))
                ui->StatCombo->addItem((role == CareerRole::Pitcher ? QStringLiteral("Pitching: ")
                                                                    : QStringLiteral("Batting: ")) +
                                           QString::fromLatin1(columns[i].title) +
                                           QStringLiteral(" - ") +
                                           QString::fromLatin1(columns[i].meaning),
                                       static_cast<int>(role) * 100 + static_cast<int>(i));
    }
    ui->StatCombo->setCurrentIndex(
        ui->StatCombo->findData(static_cast<int>(columnIndex(CareerRole::Batter, "HR"))));
}

void TForm15::TabsChange() {
    if (ui->Tabs->currentWidget() == ui->LeadersTab) StatComboChange();
}

void TForm15::StatComboChange() {
    const int data = ui->StatCombo->currentData().toInt();
    const auto role = static_cast<CareerRole>(data / 100);
    const auto column = static_cast<std::size_t>(data % 100);
    const CareerColumn& c = careerColumns(role).at(column);
    const bool rate = isRateStatistic(c);
    const int r = static_cast<int>(role);
    if (sender() == ui->MinimumSpin) minimum_[r] = ui->MinimumSpin->value();
    {
        const QSignalBlocker block(ui->MinimumSpin);
        ui->MinimumSpin->setValue(minimum_[r]);
    }
    ui->MinimumSpin->setEnabled(rate);
    ui->MinimumLabel->setEnabled(rate);
    ui->MinimumLabel->setText(
        QStringLiteral("&Minimum %1:").arg(QString::fromLatin1(careerColumns(role)[3].title)));
    if (!archive_ || ui->Tabs->currentWidget() != ui->LeadersTab) return;
    if (!leaders_) {
        // Every career's totals, once per opening: a moment for a large archive.
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        leaders_ = std::make_unique<CareerLeaders>(*archive_);
        QGuiApplication::restoreOverrideCursor();
    }
    leaderRows_->setLeaders(archive_.get(), leaders_.get(), role, column,
                            leaders_->top(role, column, minimum_[r]));
}

void TForm15::LeaderTableActivate(int row) {
    const int career = leaderRows_->careerAt(row);
    if (career < 0) return;
    ui->Tabs->setCurrentWidget(ui->PlayersTab);
    openCareer(career);
    ui->SeasonTable->setFocus();
}

namespace rostrix {

void openCareers(QWidget* over, const std::string& folder) {
    TForm15 window(over);
    window.loadArchive(folder);
    centreOver(&window, over);
    dialogs().showModal(&window);
}

}  // namespace rostrix
