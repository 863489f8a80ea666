// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/gui/CursorPlaceLine.h"

#include <QPlainTextEdit>
#include <QTextBlock>

#include "platform/gui/AccessibleLabels.h"
#include "teamfile/gui/FieldTabs.h"

namespace rostrix {

namespace {

// "Line 5, column 60: bats"; without the field for a blank or the end of the line.
QString cursorPlace(int line, std::size_t column, const TeamField* field) {
    QString place = QStringLiteral("Line %1, column %2").arg(line).arg(column);
    if (field)
        place += QStringLiteral(": ") +
                 QLatin1String(field->name.data(), static_cast<qsizetype>(field->name.size()));
    return place;
}

}  // namespace

CursorPlaceLine::CursorPlaceLine(QPlainTextEdit* pane, QWidget* parent)
    : QLabel(parent), pane_(pane) {
    setObjectName(QStringLiteral("CursorPlace"));
    setContentsMargins(4, 1, 4, 1);
    markAsStatus(this);
    // A line's role hangs on the lines above it, so any edit may change the field's name.
    connect(pane, &QPlainTextEdit::cursorPositionChanged, this, &CursorPlaceLine::follow);
    connect(pane, &QPlainTextEdit::textChanged, this, [this] {
        note_.clear();
        follow();
    });
    follow();
}

void CursorPlaceLine::showNote(const QString& note) {
    note_ = note;
    follow();
}

void CursorPlaceLine::follow() {
    const QTextCursor cursor = pane_->textCursor();
    const QTextBlock block = cursor.block();
    const auto column = static_cast<std::size_t>(cursor.positionInBlock() + 1);
    const TeamField* field =
        fieldAt(roleOfBlock(block), static_cast<std::size_t>(block.length() - 1), column);
    const QString place = cursorPlace(block.blockNumber() + 1, column, field);
    setText(note_.isEmpty() ? place : place + QStringLiteral("    ") + note_);
}

}  // namespace rostrix
