// SPDX-License-Identifier: GPL-3.0-or-later
#include "names/tmNamesDuplicate.h"

#include <QRegularExpressionValidator>

#include "platform/gui/ErrorBox.h"
#include "ui_tmNamesDuplicate.h"

namespace {

QString latin1Char(char c) {
    return QString(QChar(static_cast<unsigned char>(c)));
}

QString latin1Text(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

TForm6::TForm6(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      ui(std::make_unique<Ui::TForm6>()) {
    ui->setupUi(this);
    setFixedSize(256, 58);
    // Names are single bytes: only characters a team file can hold, no control codes.
    ui->Edit1->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[\\x{20}-\\x{7E}\\x{A0}-\\x{FF}]?")), ui->Edit1));
    connect(ui->Button2, &QPushButton::clicked, this, rostrix::guard([this] { Button2Click(); }));
}

TForm6::~TForm6() = default;

void TForm6::prepare(const rostrix::DuplicateName& name) {
    ui->Label1->setText(QStringLiteral("Duplicate Char: ") + latin1Char(name.initial));
    ui->Edit1->setText(latin1Char(name.initial));
    ui->Edit1->selectAll();
    ui->Edit1->setFocus();
    // A long name gives way to "..." rather than running off the dialog; the whole name
    // stays in the tool tip and is what a screen reader speaks.
    const QString shown = latin1Text(name.givenName) + QLatin1Char(' ') + latin1Text(name.surname);
    ui->Label4->setText(
        ui->Label4->fontMetrics().elidedText(shown, Qt::ElideRight, ui->Label4->width()));
    ui->Label4->setToolTip(shown);
    ui->Label4->setAccessibleName(shown);
}

std::optional<char> TForm6::chosenCharacter() const {
    const QString text = ui->Edit1->text();
    if (text.isEmpty()) return std::nullopt;
    return text.left(1).toLatin1().at(0);
}

void TForm6::Button2Click() {
    accept();
}
