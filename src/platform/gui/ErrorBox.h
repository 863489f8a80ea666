// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <string>

namespace rostrix {

// The application title, caption of the program-wide error box.
inline constexpr const char* kAppTitle = "Rostrix";

// The error box's text: a full stop is added when the last character sorts after ".".
QString errorBoxText(const QString& message);

// The program-wide error box: caption "Rostrix", error icon, one OK button.
void showErrorBox(const QString& message);

// Runs one handler; an Error (or any std::exception) ends it and is shown in the error
// box, so no exception ever unwinds through Qt's event loop.
void guarded(const std::function<void()>& handler);

// A slot that runs handler inside guarded(): connect(b, &QPushButton::clicked, this, guard(...)).
template <class F>
auto guard(F handler) {
    return [handler]() { guarded(handler); };
}

}  // namespace rostrix
