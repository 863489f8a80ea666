// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/gui/Dialogs.h"

namespace rostrix::test {

// What a window asked: the kind of question and what it showed.
struct Asked {
    QString kind;  // "message", "openFile", "saveFile", "browseForFolder", "inputBox",
                   // "openUrl", "showModal", "passwordBox"
    QString title;
    QString text;  // message text, prompt, URL, or the object name of a modal window
    MsgIcon icon = MsgIcon::None;
    int buttons = 0;
    FileDialogSpec file;  // for openFile / saveFile
    QString value{};      // for inputBox: the text it started with
};

// Answers questions from a queue, in order, and records every question. A question with
// no queued answer (or an answer of the wrong kind) fails the test at once and answers
// Cancel, so a headless run never falls into a real dialog. Installed for its lifetime.
class ScriptedDialogs : public Dialogs {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    void answerButton(int button);                 // message
    // openFile, saveFile, browseForFolder: the path's bytes, or its text as UTF-8.
    void answerPath(std::optional<std::string> path);
    void answerPath(const QString& path);
    void answerText(std::optional<QString> text);  // inputBox, passwordBox
    void answerUrl(bool opened);                   // openUrl
    // showModal: the window is shown, then the callback runs with it; if it is still
    // visible afterwards it is hidden.
    void answerModal(std::function<void(QWidget*)> act);

    std::vector<Asked> asked;
    // Runs as each question is asked, before it is answered: to look at the window then.
    std::function<void(const Asked&)> whileAsked;
    bool allAnswered() const { return queue_.empty(); }

    int message(QWidget* owner, const QString& title, const QString& text, MsgIcon icon,
                int buttons) override;
    std::optional<std::string> openFile(QWidget* owner, const FileDialogSpec& dialog) override;
    std::optional<std::string> saveFile(QWidget* owner, const FileDialogSpec& dialog) override;
    std::optional<std::string> browseForFolder(QWidget* owner, const QString& title) override;
    std::optional<QString> inputBox(QWidget* owner, const QString& title, const QString& prompt,
                                    const QString& value) override;
    std::optional<QString> passwordBox(QWidget* owner, const QString& title,
                                       const QString& prompt) override;
    bool openUrl(const QString& url) override;

protected:
    int runModal(QWidget* window) override;

private:
    struct ModalAct {
        std::function<void(QWidget*)> act;
    };
    struct UrlAnswer {
        bool opened;
    };
    struct TextAnswer {
        std::optional<QString> text;
    };
    using Answer = std::variant<int, std::optional<std::string>, TextAnswer, UrlAnswer, ModalAct>;
    template <class T>
    std::optional<T> take(const Asked& question);

    std::deque<Answer> queue_;
};

}  // namespace rostrix::test
