// SPDX-License-Identifier: GPL-3.0-or-later
#include "careers/gui/CareerModels.h"

#include <QBrush>
#include <QColor>
#include <QFont>

#include "platform/gui/FileNames.h"

namespace rostrix {

namespace {

const char* const kListTitles[] = {"Name", "Role", "Seasons", "First", "Last"};

QVariant alignNumbers(bool number) {
    return QVariant::fromValue(
        Qt::Alignment((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
}

}  // namespace

QString latin1Text(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString roleText(CareerRole role) {
    return role == CareerRole::Pitcher ? QStringLiteral("Pitcher") : QStringLiteral("Batter");
}

QString yearsText(const CareerSummary& career) {
    if (career.firstYear == 0) return {};
    if (career.firstYear == career.lastYear) return QString::number(career.firstYear);
    return QStringLiteral("%1-%2").arg(career.firstYear).arg(career.lastYear);
}

QString archiveLineText(const CareerArchive& archive) {
    const QString path = fileNameText(archive.path());
    QString line;
    switch (archive.status()) {
        case CareerArchive::Status::Missing:
            line = QStringLiteral(
                       "No player archive yet: %1 does not exist. It is filled by \"Write all\" "
                       "and \"Write Checked\" in the Player Stat Archive window, which the team "
                       "file editor opens with \"Write to player archive file\".")
                       .arg(path);
            break;
        case CareerArchive::Status::Unreadable:
            line = fileNameText(archive.problem()) + QLatin1Char('.');
            break;
        case CareerArchive::Status::Read:
            line = QStringLiteral("%1 players, %2 careers in %3.")
                       .arg(archive.names())
                       .arg(archive.careers().size())
                       .arg(path);
            if (archive.repeats() > 0)
                line += QStringLiteral(
                            " %1 repeated names or keys are not read, as the "
                            "archive's own reads skip them.")
                            .arg(archive.repeats());
            if (archive.holdsNonText())
                line += QStringLiteral(
                    " The file holds bytes no text file has; what could "
                    "be read is listed.");
            break;
    }
    return line;
}

// Players list

PlayerListModel::PlayerListModel(QObject* parent) : QAbstractTableModel(parent) {}

void PlayerListModel::setArchive(const CareerArchive* archive) {
    beginResetModel();
    archive_ = archive;
    list_ = archive ? std::make_unique<CareerList>(archive->careers()) : nullptr;
    endResetModel();
}

void PlayerListModel::search(const QString& text) {
    if (!list_) return;
    beginResetModel();
    list_->search(text.toLatin1().toStdString());
    endResetModel();
}

int PlayerListModel::careerAt(int row) const {
    if (!list_ || row < 0 || row >= static_cast<int>(list_->shown().size())) return -1;
    return static_cast<int>(list_->shown()[static_cast<std::size_t>(row)]);
}

int PlayerListModel::rowOf(std::size_t career) const {
    if (!list_) return -1;
    const auto& shown = list_->shown();
    const auto it = std::find(shown.begin(), shown.end(), career);
    return it == shown.end() ? -1 : static_cast<int>(it - shown.begin());
}

int PlayerListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !list_ ? 0 : static_cast<int>(list_->shown().size());
}

int PlayerListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : CareerList::ColumnCount;
}

QVariant PlayerListModel::data(const QModelIndex& index, int role) const {
    const int career = careerAt(index.row());
    if (career < 0) return {};
    const CareerSummary& c = archive_->careers()[static_cast<std::size_t>(career)];
    if (role == Qt::TextAlignmentRole) return alignNumbers(index.column() >= CareerList::Seasons);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case CareerList::Name:
            return latin1Text(c.name);
        case CareerList::Role:
            return c.seasons == 0 ? QString() : roleText(c.role);
        case CareerList::Seasons:
            return c.seasons;
        case CareerList::FirstYear:
            return c.firstYear == 0 ? QVariant() : QVariant(c.firstYear);
        case CareerList::LastYear:
            return c.lastYear == 0 ? QVariant() : QVariant(c.lastYear);
        default:
            return {};
    }
}

QVariant PlayerListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= CareerList::ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(kListTitles[section]);
}

void PlayerListModel::sort(int column, Qt::SortOrder order) {
    if (!list_ || column < 0 || column >= CareerList::ColumnCount) return;
    beginResetModel();
    list_->sort(static_cast<CareerList::Column>(column), order == Qt::AscendingOrder);
    endResetModel();
}

// Seasons table

void SeasonTableModel::setSeasons(std::vector<SeasonEntry> seasons, CareerRole role) {
    beginResetModel();
    seasons_ = std::move(seasons);
    role_ = role;
    totals_ = careerTotals(seasons_, &leftOut_);
    totals_.role = role;
    endResetModel();
}

int SeasonTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || seasons_.empty()) return 0;
    return static_cast<int>(seasons_.size()) + 1;
}

int SeasonTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(careerColumns(role_).size());
}

QVariant SeasonTableModel::data(const QModelIndex& index, int role) const {
    const auto row = static_cast<std::size_t>(index.row());
    const auto column = static_cast<std::size_t>(index.column());
    const auto& columns = careerColumns(role_);
    if (row > seasons_.size() || column >= columns.size()) return {};
    const bool totalsRow = row == seasons_.size();
    switch (role) {
        case Qt::DisplayRole:
            return latin1Text(totalsRow ? totalCellText(totals_, column)
                                        : seasonCellText(seasons_[row], column));
        case Qt::TextAlignmentRole:
            return alignNumbers(isStatistic(columns[column]));
        case Qt::FontRole:
            if (totalsRow) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        case Qt::ToolTipRole:
        case Qt::AccessibleDescriptionRole:
            if (!totalsRow && !seasons_[row].problems[column].empty())
                return latin1Text(seasons_[row].problems[column]);
            if (totalsRow && leftOut_ > 0 && role == Qt::ToolTipRole)
                return QString::fromStdString(leftOutNote(leftOut_));
            return {};
        case Qt::BackgroundRole:
            if (!totalsRow && !seasons_[row].problems[column].empty())
                return QBrush(QColor(255, 205, 205));
            return {};
        default:
            return {};
    }
}

QVariant SeasonTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const auto& columns = careerColumns(role_);
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(columns.size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    const CareerColumn& c = columns[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole) return QString::fromLatin1(c.title);
    if (role == Qt::ToolTipRole) return QString::fromLatin1(c.meaning);
    return {};
}

// Leaders

void LeaderModel::setLeaders(const CareerArchive* archive, const CareerLeaders* leaders,
                             CareerRole role, std::size_t column,
                             std::vector<CareerLeaders::Row> rows) {
    beginResetModel();
    archive_ = archive;
    leaders_ = leaders;
    role_ = role;
    column_ = column;
    rows_ = std::move(rows);
    endResetModel();
}

int LeaderModel::careerAt(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return -1;
    return static_cast<int>(rows_[static_cast<std::size_t>(row)].career);
}

int LeaderModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int LeaderModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 6;
}

QVariant LeaderModel::data(const QModelIndex& index, int role) const {
    const int career = careerAt(index.row());
    if (career < 0 || !archive_) return {};
    if (role == Qt::TextAlignmentRole) return alignNumbers(index.column() != 1);
    if (role != Qt::DisplayRole) return {};
    const auto& row = rows_[static_cast<std::size_t>(index.row())];
    const CareerSummary& c = archive_->careers()[row.career];
    switch (index.column()) {
        case 0:
            return index.row() + 1;
        case 1:
            return latin1Text(c.name);
        case 2:
            return QString::fromStdString(formatStat(careerColumns(role_)[column_], row.value));
        case 3:
            return leaders_->line(row.career).seasons;
        case 4:
            return QVariant::fromValue(leaders_->line(row.career).sums[3]);
        case 5:
            return yearsText(c);
        default:
            return {};
    }
}

QVariant LeaderModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
        case 0:
            return QStringLiteral("#");
        case 1:
            return QStringLiteral("Player");
        case 2:
            return QString::fromLatin1(careerColumns(role_)[column_].title);
        case 3:
            return QStringLiteral("Seasons");
        case 4:
            return QString::fromLatin1(careerColumns(role_)[3].title);
        case 5:
            return QStringLiteral("Years");
        default:
            return {};
    }
}

}  // namespace rostrix
