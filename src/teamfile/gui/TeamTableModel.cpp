// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/gui/TeamTableModel.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

#include "teamfile/FieldEdit.h"
#include "teamfile/tmCheckPanel.h"

namespace rostrix {

namespace {

QString latin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The line that keeps a starter's place in the line-up, which is no player's.
bool isPlaceholder(const QTextBlock& b) {
    return b.length() - 1 == static_cast<int>(kPlaceholderLine.size()) &&
           b.text() == latin1(kPlaceholderLine);
}

int columnOfField(const TeamField& f) {
    const auto& all = playerColumns();
    const auto at =
        std::find_if(all.begin(), all.end(), [&](const TeamField* c) { return *c == f; });
    return static_cast<int>(at - all.begin()) + 1;
}

// The table column showing a column of a line of the role: its field's, or for a blank
// the field's before it; the role column for the line as a whole (0).
int columnAt(LineRole role, std::size_t fileColumn) {
    const TeamField* at = nullptr;
    for (const TeamField& f : fieldsOf(role))
        if (fileColumn && f.first <= fileColumn) at = &f;
    return at ? columnOfField(*at) : 0;
}

}  // namespace

TeamTableModel::TeamTableModel(QTextDocument* document, QObject* parent)
    : QAbstractTableModel(parent), document_(document) {
    rows_ = scan();
    // A document tells of its changes only once it has a layout; a pane's has its own.
    document->documentLayout();
    connect(document, &QTextDocument::contentsChange, this, &TeamTableModel::follow);
}

// A player's line is a batter or pitcher line with something on it other than the
// placeholder of a starter taken out.
std::vector<TeamTableModel::Row> TeamTableModel::scan() {
    scannedLines_ = document_->blockCount();
    std::vector<Row> rows;
    LineRoles roles;
    int n = 0;
    for (QTextBlock b = document_->begin(); b.isValid(); b = b.next(), ++n) {
        const int length = b.length() - 1;
        const char start[2] = {
            length > 0 ? document_->characterAt(b.position()).toLatin1() : '\0',
            length > 1 ? document_->characterAt(b.position() + 1).toLatin1() : '\0'};
        const std::string_view mark(start, static_cast<std::size_t>(std::min(length, 2)));
        const LineRole role = roles.next(mark);
        if ((role != LineRole::Batter && role != LineRole::Pitcher) || length == 0 ||
            isPlaceholder(b))
            continue;
        const Standing standing = role == LineRole::Pitcher         ? Standing::Pitcher
                                  : n < int{kLineUpLines}           ? Standing::Starter
                                  : roles.above() == Section::Bench ? Standing::Bench
                                                                    : Standing::Batter;
        rows.push_back({n, role, standing});
    }
    return rows;
}

// Every change of the document. A change within one line that leaves its first two
// characters (which make it a title, section or player line) and its being a player's line
// as they were updates that row alone; any other change (lines added, removed or turned into
// other kinds) lays the table out afresh.
void TeamTableModel::follow(int position, int, int added) {
    cachedLine_ = -1;
    marksStale_ = true;
    const QTextBlock block = document_->findBlock(position);
    if (document_->blockCount() == scannedLines_ && position - block.position() >= 2 &&
        document_->findBlock(position + added) == block) {
        const QByteArray head = block.text().left(2).toLatin1();
        const LineRole role =
            lineRole(block.blockNumber() == 0, std::string_view(head.constData(), head.size()), {});
        if (role == LineRole::Title || role == LineRole::Section) return;  // no row shows them
        const int row = rowOf(block.blockNumber());
        if ((row >= 0) == !isPlaceholder(block)) {
            if (row >= 0) emit dataChanged(index(row, 0), index(row, columnCount() - 1));
            return;
        }
    }
    std::vector<Row> rows = scan();
    if (rows != rows_) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
        return;
    }
    const int first = block.blockNumber();
    const int last = document_->findBlock(position + added).blockNumber();
    const auto byLine = [](const Row& r, int line) { return r.line < line; };
    const auto from = std::lower_bound(rows_.begin(), rows_.end(), first, byLine);
    const auto to = std::lower_bound(from, rows_.end(), last + 1, byLine);
    if (from != to)
        emit dataChanged(index(static_cast<int>(from - rows_.begin()), 0),
                         index(static_cast<int>(to - rows_.begin()) - 1, columnCount() - 1));
}

int TeamTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TeamTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(playerColumns().size()) + 1;
}

const TeamField* TeamTableModel::fieldOf(int column) {
    const auto& all = playerColumns();
    return column >= 1 && column <= static_cast<int>(all.size()) ? all[column - 1] : nullptr;
}

int TeamTableModel::lineOf(int row) const {
    return row >= 0 && row < rowCount() ? rows_[static_cast<std::size_t>(row)].line : -1;
}

int TeamTableModel::rowOf(int line) const {
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), line,
                                     [](const Row& r, int l) { return r.line < l; });
    return at != rows_.end() && at->line == line ? static_cast<int>(at - rows_.begin()) : -1;
}

int TeamTableModel::columnAt(int row, std::size_t fileColumn) const {
    if (row < 0 || row >= rowCount()) return 0;
    return rostrix::columnAt(rows_[static_cast<std::size_t>(row)].role, fileColumn);
}

const std::string& TeamTableModel::lineText(int line) const {
    if (cachedLine_ != line) {
        cachedText_ = document_->findBlockByNumber(line).text().toLatin1().toStdString();
        cachedLine_ = line;
    }
    return cachedText_;
}

QString TeamTableModel::fieldText(int line, const TeamField& f) const {
    if (line < 0 || line >= document_->blockCount()) return {};
    return latin1(fieldValue(lineText(line), f));
}

bool TeamTableModel::hasTitleLine() const {
    return document_->begin().text().startsWith(latin1(kTeamTitleStart));
}

QVariant TeamTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    const TeamField* f = fieldOf(index.column());
    const bool held = f && lineHolds(row.role, *f);
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
        case Qt::AccessibleTextRole:
            if (!f) {
                static const char* const kStandings[] = {"starter", "pitcher", "bench", "batter"};
                return QString::fromLatin1(kStandings[static_cast<int>(row.standing)]);
            }
            return held ? QVariant(fieldText(row.line, *f)) : QVariant();
        case SortRole:
            if (held && f->kind == FieldKind::Count) {
                bool number = false;
                const int value = fieldText(row.line, *f).toInt(&number);
                return number ? value : -1;
            }
            return data(index, Qt::DisplayRole);
        case Qt::TextAlignmentRole:
            return headerData(index.column(), Qt::Horizontal, role);
        case Qt::ToolTipRole:
        case Qt::AccessibleDescriptionRole:
        case Qt::BackgroundRole:
        case Qt::ForegroundRole:
        case Qt::FontRole:
            break;
        default:
            return {};
    }
    QStringList found;
    for (const std::size_t i : problemsOn(row.line))
        if (rostrix::columnAt(row.role, problems_[i].column) == index.column())
            found << QString::fromStdString(problems_[i].message);
    if (found.isEmpty()) return {};
    if (role == Qt::BackgroundRole) return kMarkedBackground;
    if (role == Qt::ForegroundRole) return QColor(Qt::black);
    if (role == Qt::FontRole) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return found.join(QLatin1Char('\n'));
}

// The problems of a line, found through an index by line kept until the text or the
// problems change: a paint asks every cell it draws.
std::vector<std::size_t> TeamTableModel::problemsOn(int line) const {
    if (marksStale_) {
        marks_.clear();
        for (std::size_t i = 0; i < problems_.size(); ++i)
            marks_.emplace_back(problemLines_[i].blockNumber(), i);
        std::sort(marks_.begin(), marks_.end());
        marksStale_ = false;
    }
    std::vector<std::size_t> on;
    const auto from =
        std::lower_bound(marks_.begin(), marks_.end(), std::pair(line, std::size_t{0}));
    for (auto at = from; at != marks_.end() && at->first == line; ++at) on.push_back(at->second);
    return on;
}

QVariant TeamTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        // Rows are known by their line in the file.
        if (role == Qt::DisplayRole) return lineOf(section) + 1;
        if (role == Qt::ToolTipRole) return QStringLiteral("line %1").arg(lineOf(section) + 1);
        return {};
    }
    const TeamField* f = fieldOf(section);
    switch (role) {
        case Qt::DisplayRole:
            return f ? latin1(columnHeading(*f)) : QStringLiteral("Role");
        case Qt::ToolTipRole:
            return f ? latin1(f->name) : QStringLiteral("starter, pitcher or bench");
        case Qt::TextAlignmentRole: {
            const bool number = f && (f->kind == FieldKind::Count || f->kind == FieldKind::Code);
            return QVariant::fromValue(Qt::AlignVCenter |
                                       (number ? Qt::AlignRight : Qt::AlignLeft));
        }
        default:
            return {};
    }
}

Qt::ItemFlags TeamTableModel::flags(const QModelIndex& index) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return Qt::NoItemFlags;
    const TeamField* f = fieldOf(index.column());
    const bool held = f && lineHolds(rows_[static_cast<std::size_t>(index.row())].role, *f);
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | (held ? Qt::ItemIsEditable : Qt::NoItemFlags);
}

QString TeamTableModel::refusalOf(int line, LineRole role, const TeamField& f, const QString& typed,
                                  std::string* laidOut) const {
    for (qsizetype i = 0; i < typed.size(); ++i)
        if (typed[i].unicode() > 0xFF)
            return QStringLiteral("a team file cannot hold %1")
                .arg(typed.mid(i, typed[i].isHighSurrogate() ? 2 : 1));
    FieldEdit edit = editField(lineText(line), role, f, typed.toLatin1().toStdString());
    if (!edit.refusal.empty()) return latin1(edit.refusal);
    if (laidOut) *laidOut = std::move(edit.line);
    return {};
}

QString TeamTableModel::refusalFor(const QModelIndex& index, const QString& typed) const {
    const TeamField* f = fieldOf(index.column());
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || !f) return {};
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    return refusalOf(row.line, row.role, *f, typed, nullptr);
}

bool TeamTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    const Row row = rows_[static_cast<std::size_t>(index.row())];
    const QString why = writeField(row.line, row.role, *fieldOf(index.column()), value.toString());
    if (!why.isEmpty()) emit refused(why);
    return why.isEmpty();
}

// Only the characters that differ are replaced, in one edit of the document: one step of
// its undo, and every other column of the line stays where it was.
QString TeamTableModel::writeField(int line, LineRole role, const TeamField& f,
                                   const QString& typed) {
    if (line < 0 || line >= document_->blockCount()) return QStringLiteral("the line is gone");
    std::string after;
    if (QString why = refusalOf(line, role, f, typed, &after); !why.isEmpty()) return why;
    const std::string before = lineText(line);
    if (after == before) return {};
    std::size_t prefix = 0;
    while (prefix < std::min(before.size(), after.size()) && before[prefix] == after[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < std::min(before.size(), after.size()) - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const int start = document_->findBlockByNumber(line).position() + static_cast<int>(prefix);
    QTextCursor cursor(document_);
    cursor.setPosition(start);
    cursor.setPosition(start + static_cast<int>(before.size() - prefix - suffix),
                       QTextCursor::KeepAnchor);
    cursor.beginEditBlock();
    cursor.insertText(
        latin1(std::string_view(after).substr(prefix, after.size() - prefix - suffix)));
    cursor.endEditBlock();
    return {};
}

void TeamTableModel::setProblems(const std::vector<TeamFileProblem>& problems,
                                 const std::vector<QTextCursor>& lines) {
    problems_ = problems;
    problemLines_ = lines;
    problems_.resize(std::min(problems.size(), lines.size()));
    marksStale_ = true;
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

QString TeamTableModel::problemsAt(int line, const TeamField* f) const {
    QStringList found;
    for (const std::size_t i : problemsOn(line)) {
        const TeamFileProblem& p = problems_[i];
        if (f && p.column <= f->last && p.column + p.width > f->first)
            found << QString::fromStdString(p.message);
    }
    return found.join(QLatin1Char('\n'));
}

}  // namespace rostrix
