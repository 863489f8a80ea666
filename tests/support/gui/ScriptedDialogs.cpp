// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/gui/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QWidget>

namespace rostrix::test {

ScriptedDialogs::ScriptedDialogs() {
    setDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    setDialogs(nullptr);
    EXPECT_TRUE(queue_.empty()) << queue_.size() << " queued answer(s) were never asked for";
}

void ScriptedDialogs::answerButton(int button) {
    queue_.emplace_back(button);
}
void ScriptedDialogs::answerPath(std::optional<std::string> path) {
    queue_.emplace_back(std::move(path));
}
void ScriptedDialogs::answerPath(const QString& path) {
    answerPath(path.toStdString());
}
void ScriptedDialogs::answerText(std::optional<QString> text) {
    queue_.emplace_back(TextAnswer{std::move(text)});
}
void ScriptedDialogs::answerUrl(bool opened) {
    queue_.emplace_back(UrlAnswer{opened});
}
void ScriptedDialogs::answerModal(std::function<void(QWidget*)> act) {
    queue_.emplace_back(ModalAct{std::move(act)});
}

template <class T>
std::optional<T> ScriptedDialogs::take(const Asked& question) {
    asked.push_back(question);
    if (whileAsked) whileAsked(question);
    if (queue_.empty()) {
        ADD_FAILURE() << "Unanswered " << question.kind.toStdString() << ": \""
                      << question.title.toStdString() << "\" / \"" << question.text.toStdString()
                      << "\"";
        return std::nullopt;
    }
    if (!std::holds_alternative<T>(queue_.front())) {
        ADD_FAILURE() << "The next queued answer does not fit " << question.kind.toStdString()
                      << ": \"" << question.title.toStdString() << "\" / \""
                      << question.text.toStdString() << "\"";
        return std::nullopt;
    }
    T answer = std::get<T>(std::move(queue_.front()));
    queue_.pop_front();
    return answer;
}

int ScriptedDialogs::message(QWidget*, const QString& title, const QString& text, MsgIcon icon,
                             int buttons) {
    auto a = take<int>({"message", title, text, icon, buttons, {}});
    if (!a) return (buttons & Cancel) ? Cancel : (buttons & No) ? No : Ok;
    EXPECT_TRUE(*a & buttons) << "answered with a button the box does not offer";
    return *a;
}

std::optional<std::string> ScriptedDialogs::openFile(QWidget*, const FileDialogSpec& dialog) {
    auto a = take<std::optional<std::string>>({"openFile", dialog.title, {}, {}, 0, dialog});
    return a ? *a : std::nullopt;
}

std::optional<std::string> ScriptedDialogs::saveFile(QWidget*, const FileDialogSpec& dialog) {
    auto a = take<std::optional<std::string>>({"saveFile", dialog.title, {}, {}, 0, dialog});
    return a ? *a : std::nullopt;
}

std::optional<std::string> ScriptedDialogs::browseForFolder(QWidget*, const QString& title) {
    auto a = take<std::optional<std::string>>({"browseForFolder", title, {}, {}, 0, {}});
    return a ? *a : std::nullopt;
}

std::optional<QString> ScriptedDialogs::inputBox(QWidget*, const QString& title,
                                                 const QString& prompt, const QString& value) {
    auto a = take<TextAnswer>({"inputBox", title, prompt, {}, 0, {}, value});
    return a ? a->text : std::nullopt;
}

std::optional<QString> ScriptedDialogs::passwordBox(QWidget*, const QString& title,
                                                    const QString& prompt) {
    auto a = take<TextAnswer>({"passwordBox", title, prompt, {}, 0, {}});
    return a ? a->text : std::nullopt;
}

bool ScriptedDialogs::openUrl(const QString& url) {
    auto a = take<UrlAnswer>({"openUrl", {}, url, {}, 0, {}});
    return a && a->opened;
}

int ScriptedDialogs::runModal(QWidget* window) {
    auto a = take<ModalAct>({"showModal", window->windowTitle(), window->objectName(), {}, 0, {}});
    if (!a) return 0;
    window->show();
    if (a->act) a->act(window);
    if (window->isVisible()) window->hide();
    return 0;
}

}  // namespace rostrix::test
