// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace rostrix {

// While an InputBlock exists, no window of the program takes user input: keys, mouse
// buttons and wheel, touch, drops, context menus, shortcuts and close requests are
// dropped, whoever processes events in the meantime (a timer's handler included).
// Timers, repaints and the program's own posted work go on. For a long step on the
// user-interface thread that must not be started again or disturbed while it runs:
//     InputBlock block;
//     runSomething(/*pump=*/InputBlock::pump);
// Input that arrived during the step is dropped as well when the block ends, so a click
// made while waiting does not act afterwards. Blocks may nest. A close of the program
// asked for by a signal while the block was in place goes on when the last block ends. A
// block may leave one window open to input (a progress window's Cancel): open and what it
// holds.
class InputBlock : public QObject {
    Q_OBJECT
public:
    explicit InputBlock(QWidget* open = nullptr);
    ~InputBlock() override;
    InputBlock(const InputBlock&) = delete;
    InputBlock& operator=(const InputBlock&) = delete;

    // Lets windows repaint and timers run; any input among the pending events is dropped.
    static void pump();
    // True while a block is in place.
    static bool active();
    // The one window that still takes input while blocks are in place (a Cancel for the
    // long step); nullptr for none.
    static void exempt(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isOpen(QObject* watched) const;
    QPointer<QWidget> open_;
};

}  // namespace rostrix
