// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSpinBox>

namespace rostrix {

// An integer spin field that, unlike QSpinBox, takes any integer while the user types
// ("1" on the way to "1927"). Its limits apply to the arrows and when the focus leaves
// it; text that is not an integer reads as the minimum and is reset to show it.
class SpinEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit SpinEdit(QWidget* parent = nullptr);

    void setLimits(int minimum, int maximum);
    int minLimit() const { return min_; }
    int maxLimit() const { return max_; }

    // The value the program reads: the integer in the text, or the minimum (and the
    // text becomes the minimum) when the text is not an integer.
    int readValue();
    void setFieldValue(int v);
    // The text as the user sees it, and a way to type it in one step.
    QString fieldText() const;
    void setFieldText(const QString& text);

signals:
    // Every change of the text, typed or set by the program, valid or not.
    void fieldTextChanged(const QString& text);

protected:
    QValidator::State validate(QString& text, int& pos) const override;
    void fixup(QString& text) const override;
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int min_ = 0;
    int max_ = 100;
};

// Parses a whole decimal number with an optional sign, as the field reads its text.
bool parseFieldInteger(const QString& text, int& value);

}  // namespace rostrix
