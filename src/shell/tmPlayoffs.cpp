// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/tmPlayoffs.h"

#include <QComboBox>

#include "ui_tmPlayoffs.h"

TForm14::TForm14(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TForm14>()) {
    ui->setupUi(this);
    setFixedSize(617, 341);
    QFont f = font();
    f.setPixelSize(11);  // the size the window was laid out for
    setFont(f);
    ui->ComboBox9->setCurrentIndex(-1);
}

TForm14::~TForm14() = default;
