// SPDX-License-Identifier: GPL-3.0-or-later
// The team file editor's two views on the sample team (31 lines) and on a team of 1,000
// lines: switching between text and table, one cell edit written into the document, and
// one keystroke in the text while the table follows it. Each step is timed with the
// repaint the user waits for (the offscreen platform unless QT_QPA_PLATFORM says otherwise).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTextBlock>
#include <QToolButton>
#include <cstdlib>

#include "format/TeamLayout.h"
#include "platform/gui/PaneText.h"
#include "teamfile/gui/TeamTableModel.h"
#include "teamfile/tmEditor.h"

namespace {

// The sample team with its bench grown to the number of lines.
std::vector<std::string> teamOf(std::size_t lines) {
    std::vector<std::string> team = rostrix::sampleTeamLines();
    const std::size_t bench = team.size() - 7;
    for (std::size_t i = 0; team.size() < lines; ++i) team.push_back(team[bench + i % 7]);
    return team;
}

struct ShownEditor {
    TForm4 form;
    QToolButton* switchButton;
    QTableView* table;

    explicit ShownEditor(std::size_t lines)
        : switchButton(form.findChild<QToolButton*>(QStringLiteral("TableViewButton"))),
          table(form.findChild<QTableView*>(QStringLiteral("PlayerTable"))) {
        rostrix::setPaneLines(form.Memo1(), teamOf(lines));
        form.show();
        QApplication::processEvents();
    }
    // Lays out and paints what changed.
    void settle() {
        QApplication::processEvents();
        form.repaint();
    }
};

void BM_SwitchViews(benchmark::State& state) {
    ShownEditor editor(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        editor.switchButton->click();
        editor.settle();
    }
    state.SetLabel("one switch, text to table or back");
}

void BM_CellEdit(benchmark::State& state) {
    ShownEditor editor(static_cast<std::size_t>(state.range(0)));
    editor.switchButton->click();
    editor.settle();
    QAbstractItemModel* cells = editor.table->model();
    int column = 1;
    while (*rostrix::TeamTableModel::fieldOf(column) != rostrix::field::kAtBats) ++column;
    const QModelIndex atBats = cells->index(0, column);  // the first starter's at bats
    bool other = false;
    for (auto _ : state) {
        other = !other;
        if (!cells->setData(atBats, other ? QStringLiteral("519") : QStringLiteral("258")))
            state.SkipWithError("the edit was refused");
        editor.settle();
    }
}

void BM_KeystrokeInText(benchmark::State& state) {
    ShownEditor editor(static_cast<std::size_t>(state.range(0)));
    QPlainTextEdit* pane = editor.form.Memo1();
    pane->setFocus();
    // Into the name of the last player, as a correction is typed.
    QTextCursor at(pane->document()->lastBlock().previous());
    at.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 12);
    pane->setTextCursor(at);
    bool type = false;
    for (auto _ : state) {
        type = !type;
        QKeyEvent press(QEvent::KeyPress, type ? Qt::Key_X : Qt::Key_Backspace, Qt::NoModifier,
                        type ? QStringLiteral("x") : QString());
        QApplication::sendEvent(pane, &press);
        editor.settle();
    }
}

}  // namespace

BENCHMARK(BM_SwitchViews)->Arg(31)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CellEdit)->Arg(31)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeInText)->Arg(31)->Arg(1000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
