// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/SpinEdit.h"

#include <QLineEdit>
#include <climits>

namespace rostrix {

bool parseFieldInteger(const QString& text, int& value) {
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok || text.trimmed() != text) return false;
    value = v;
    return true;
}

SpinEdit::SpinEdit(QWidget* parent) : QSpinBox(parent) {
    // The widget's own range is wide open; the field's limits are applied by hand.
    QSpinBox::setRange(INT_MIN + 1, INT_MAX - 1);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::fieldTextChanged);
}

void SpinEdit::setLimits(int minimum, int maximum) {
    min_ = minimum;
    max_ = maximum;
}

int SpinEdit::readValue() {
    int v = 0;
    if (parseFieldInteger(lineEdit()->text(), v)) return v;
    setFieldValue(min_);
    return min_;
}

void SpinEdit::setFieldValue(int v) {
    setValue(v);
    // setValue does nothing when the number is unchanged but the text was edited.
    if (lineEdit()->text() != QString::number(v)) lineEdit()->setText(QString::number(v));
}

QString SpinEdit::fieldText() const {
    return lineEdit()->text();
}

void SpinEdit::setFieldText(const QString& text) {
    lineEdit()->setText(text);
}

QValidator::State SpinEdit::validate(QString& text, int&) const {
    if (text.isEmpty() || text == QLatin1String("-") || text == QLatin1String("+"))
        return QValidator::Intermediate;
    int v = 0;
    return parseFieldInteger(text, v) ? QValidator::Acceptable : QValidator::Invalid;
}

void SpinEdit::fixup(QString& text) const {
    int v = 0;
    if (!parseFieldInteger(text, v)) text = QString::number(min_);
}

void SpinEdit::stepBy(int steps) {
    const long long next = static_cast<long long>(readValue()) + steps;
    setFieldValue(static_cast<int>(std::clamp<long long>(next, min_, max_)));
    selectAll();
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
    int v = 0;
    if (!parseFieldInteger(lineEdit()->text(), v)) return StepUpEnabled | StepDownEnabled;
    StepEnabled e = StepNone;
    if (v < max_) e |= StepUpEnabled;
    if (v > min_) e |= StepDownEnabled;
    return e;
}

void SpinEdit::focusOutEvent(QFocusEvent* event) {
    int v = 0;
    if (parseFieldInteger(lineEdit()->text(), v) && (v < min_ || v > max_))
        setFieldValue(std::clamp(v, min_, max_));
    QSpinBox::focusOutEvent(event);
}

}  // namespace rostrix
