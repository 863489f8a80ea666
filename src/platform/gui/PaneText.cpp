// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/PaneText.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace rostrix {

namespace {

QString paneText(const std::vector<std::string>& lines) {
    QString text;
    for (const auto& line : lines) {
        text += QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
        text += QLatin1Char('\n');
    }
    return text;
}

// Latin-1 bytes; a character outside it becomes one "?", even beyond the basic plane.
std::string latin1Bytes(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t c : text.toUcs4()) bytes += c <= 0xFF ? static_cast<char>(c) : '?';
    return bytes;
}

}  // namespace

std::vector<std::string> paneLines(const QPlainTextEdit* pane) {
    std::vector<std::string> lines;
    // Block by block rather than toPlainText(), which turns a no-break space (0xA0) into
    // a blank and would change the file's bytes.
    for (QTextBlock b = pane->document()->begin(); b.isValid(); b = b.next()) {
        const bool last = !b.next().isValid();
        if (last && b.text().isEmpty()) break;
        // A soft line break (Shift+Enter) is a line end in a file, too.
        for (const QString& part : b.text().split(QChar::LineSeparator))
            lines.push_back(latin1Bytes(part));
    }
    return lines;
}

std::optional<UnsavableCharacter> firstUnsavableCharacter(const QPlainTextEdit* pane) {
    int line = 0;
    for (QTextBlock b = pane->document()->begin(); b.isValid(); b = b.next()) {
        for (const QString& part : b.text().split(QChar::LineSeparator)) {
            ++line;
            for (qsizetype i = 0; i < part.size(); ++i) {
                if (part[i].unicode() <= 0xFF) continue;
                const bool pair = part[i].isHighSurrogate() && i + 1 < part.size() &&
                                  part[i + 1].isLowSurrogate();
                return UnsavableCharacter{line, part.mid(i, pair ? 2 : 1)};
            }
        }
    }
    return std::nullopt;
}

void setPaneLines(QPlainTextEdit* pane, const std::vector<std::string>& lines) {
    pane->setPlainText(paneText(lines));
}

void replacePaneLines(QPlainTextEdit* pane, const std::vector<std::string>& lines) {
    QTextCursor cursor(pane->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(paneText(lines));
    cursor.endEditBlock();
}

}  // namespace rostrix
