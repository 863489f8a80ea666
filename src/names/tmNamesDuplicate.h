// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>
#include <optional>

#include "names/NamePass.h"

namespace Ui {
class TForm6;
}

// "Select Duplicate Correction": asks, in the middle of a name pass, which character a
// name's two equal initials become. Go and the close box both go on with what the edit
// holds.
class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
    ~TForm6() override;

    // Shows the name (given name first) and the duplicated character, and presets the
    // edit to that character so that Go without typing keeps it.
    void prepare(const rostrix::DuplicateName& name);
    // The edit's character; nothing when the user emptied it.
    std::optional<char> chosenCharacter() const;

private:
    void Button2Click();

    std::unique_ptr<Ui::TForm6> ui;
};
