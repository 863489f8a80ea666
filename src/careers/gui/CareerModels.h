// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <memory>
#include <vector>

#include "careers/CareerArchive.h"
#include "careers/CareerList.h"
#include "careers/CareerStats.h"

namespace rostrix {

// The players list over a CareerList: only the rows shown are ever asked for.
class PlayerListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PlayerListModel(QObject* parent = nullptr);
    // Shows the careers of archive (not owned); nullptr empties the list.
    void setArchive(const CareerArchive* archive);
    void search(const QString& text);
    // The career in the row, or -1.
    int careerAt(int row) const;
    int rowOf(std::size_t career) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

private:
    const CareerArchive* archive_ = nullptr;
    std::unique_ptr<CareerList> list_;
};

// One career's seasons with the career totals as the last row.
class SeasonTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setSeasons(std::vector<SeasonEntry> seasons, CareerRole role);
    const std::vector<SeasonEntry>& seasons() const { return seasons_; }
    CareerRole role() const { return role_; }
    int leftOut() const { return leftOut_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<SeasonEntry> seasons_;
    CareerRole role_ = CareerRole::Batter;
    CareerLine totals_;
    int leftOut_ = 0;
};

// The leaders of one statistic: rank, player, figure, seasons, at bats or innings, years.
class LeaderModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setLeaders(const CareerArchive* archive, const CareerLeaders* leaders, CareerRole role,
                    std::size_t column, std::vector<CareerLeaders::Row> rows);
    int careerAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const CareerArchive* archive_ = nullptr;
    const CareerLeaders* leaders_ = nullptr;
    CareerRole role_ = CareerRole::Batter;
    std::size_t column_ = 0;
    std::vector<CareerLeaders::Row> rows_;
};

// Archive bytes for a widget.
QString latin1Text(std::string_view bytes);
QString roleText(CareerRole role);
QString yearsText(const CareerSummary& career);
// What the archive holds, or why it holds nothing: the line at the foot of the window.
QString archiveLineText(const CareerArchive& archive);

}  // namespace rostrix
