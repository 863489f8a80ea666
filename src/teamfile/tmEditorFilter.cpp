// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamfile/tmEditorFilter.h"

#include <QComboBox>
#include <QPlainTextEdit>

#include "platform/gui/PaneText.h"
#include "platform/gui/SpinEdit.h"
#include "teamfile/FilterReport.h"
#include "teamfile/RosterFilter.h"
#include "teamfile/gui/CursorPlaceLine.h"
#include "teamfile/tmEditorEdit.h"

namespace rostrix {

void applyRosterFilter(QWidget* window, QPlainTextEdit* pane, QComboBox* kinds, SpinEdit* threshold,
                       CursorPlaceLine* status) {
    const auto kind = filterKindAt(kinds->currentIndex());
    if (!kind) {
        status->showNote(QString::fromLatin1(kChooseFilterKind));
        kinds->setFocus();
        return;
    }
    const int below = threshold->readValue();
    const std::vector<std::string> lines = paneLines(pane);
    const auto kept = runRosterFilter(lines, kind, below, [&](std::size_t line) {
        return askWithLineInView(
            window, pane, line, QStringLiteral("Run QRD Warning"),
            QStringLiteral("This will remove a starter!\nClick OK to remove.\n\n") +
                QString::fromLatin1(starterInQuestion(lines[line], line, *kind, below)));
    });
    if (!kept) return;
    replacePaneLines(pane, *kept);
    status->showNote(QString::fromLatin1(filterReport(lines, *kept)));
}

}  // namespace rostrix
