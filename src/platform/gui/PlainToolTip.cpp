// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/PlainToolTip.h"

#include <QTextDocument>
#include <QWidget>

QString plainToolTip(const QString& text) {
    // Tool tips take text that looks like markup as markup; such text goes escaped.
    if (!Qt::mightBeRichText(text)) return text;
    return "<p style='white-space:pre-wrap'>" + text.toHtmlEscaped() + "</p>";
}

void setPlainToolTip(QWidget* widget, const QString& text) {
    widget->setToolTip(plainToolTip(text));
}
