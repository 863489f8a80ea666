// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

class QPlainTextEdit;

namespace rostrix {

// The line under a team file pane that tells where the cursor stands: "Line 5, column 60:
// bats", the field named as the checker names it. A screen reader hears it as a status.
class CursorPlaceLine : public QLabel {
    Q_OBJECT
public:
    CursorPlaceLine(QPlainTextEdit* pane, QWidget* parent);
    // Says what a command did, after the cursor's place, until the text next changes.
    void showNote(const QString& note);

private:
    void follow();

    QPlainTextEdit* pane_;
    QString note_;
};

}  // namespace rostrix
