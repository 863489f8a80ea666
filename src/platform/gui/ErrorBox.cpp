// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/ErrorBox.h"

#include <exception>

#include "platform/Error.h"
#include "platform/gui/Dialogs.h"

namespace rostrix {

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QChar('.')) return message + '.';
    return message;
}

void showErrorBox(const QString& message) {
    dialogs().message(nullptr, QString::fromLatin1(kAppTitle), errorBoxText(message),
                      MsgIcon::Error, Ok);
}

void guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        showErrorBox(QString::fromUtf8(e.what()));
    } catch (...) {
        showErrorBox(QStringLiteral("Unknown error"));
    }
}

}  // namespace rostrix
