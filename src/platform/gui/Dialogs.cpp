#include "platform/gui/Dialogs.h"

#include <QDesktopServices>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include "platform/WindowPlacement.h"
#include "platform/gui/QtDialogs.h"

namespace rostrix {

namespace {

Dialogs* installed = nullptr;

QFileDialog* makeFileDialog(QWidget* owner, const FileDialogSpec& dialog) {
    auto* dlg =
        new QFileDialog(owner, dialog.title, dialog.initialDir, qtFileFilter(dialog.filter));
    dlg->setDefaultSuffix(dialog.defaultExt);
    if (!dialog.fileName.isEmpty()) dlg->selectFile(dialog.fileName);
    if (!dialog.confirmOverwrite) dlg->setOption(QFileDialog::DontConfirmOverwrite);
    return dlg;
}

std::optional<QString> runFileDialog(QFileDialog* dlg) {
    std::optional<QString> chosen;
    if (dlg->exec() == QDialog::Accepted && !dlg->selectedFiles().isEmpty())
        chosen = dlg->selectedFiles().first();
    delete dlg;
    return chosen;
}

}  // namespace

Dialogs& dialogs() {
    static QtDialogs qt;
    return installed ? *installed : qt;
}

void setDialogs(Dialogs* d) {
    installed = d;
}

QString qtFileFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << QStringLiteral("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(';', ' '));
    return out.join(QStringLiteral(";;"));
}

void centreOver(QWidget* window, QWidget* over) {
    if (!window) return;
    const bool overShown = over && over->isVisible();
    QSize frame = window->frameGeometry().size();
    // Before its first showing a window knows nothing of its title bar and borders: take
    // them to be those of the window it is centred over.
    if (frame == window->size() && overShown) frame += over->frameGeometry().size() - over->size();
    const QScreen* screen = overShown ? over->screen() : window->screen();
    if (!overShown && !screen) return;
    const QPoint centre =
        overShown ? over->frameGeometry().center() : screen->availableGeometry().center();
    const QRect wanted(centre - QPoint(frame.width() / 2, frame.height() / 2), frame);
    // A window larger than the space left around the main window slides back onto the
    // screen instead of opening with its title out of reach.
    window->move(screen ? placeOnScreen(wanted, screen->availableGeometry()) : wanted.topLeft());
}

int QtDialogs::message(QWidget* owner, const QString& title, const QString& text, MsgIcon icon,
                       int buttons) {
    QMessageBox box(owner);
    box.setWindowTitle(title);
    // Texts come from files and servers too: never let one pass for markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    switch (icon) {
        case MsgIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MsgIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgIcon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgIcon::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    QMessageBox::StandardButtons std;
    if (buttons & Yes) std |= QMessageBox::Yes;
    if (buttons & No) std |= QMessageBox::No;
    if (buttons & Ok) std |= QMessageBox::Ok;
    if (buttons & Cancel) std |= QMessageBox::Cancel;
    box.setStandardButtons(std);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Yes;
        case QMessageBox::No:
            return No;
        case QMessageBox::Ok:
            return Ok;
        default:
            return (buttons & Cancel) ? Cancel : (buttons & No) ? No : Ok;
    }
}

std::optional<QString> QtDialogs::openFile(QWidget* owner, const FileDialogSpec& dialog) {
    QFileDialog* dlg = makeFileDialog(owner, dialog);
    dlg->setAcceptMode(QFileDialog::AcceptOpen);
    dlg->setFileMode(QFileDialog::ExistingFile);
    return runFileDialog(dlg);
}

std::optional<QString> QtDialogs::saveFile(QWidget* owner, const FileDialogSpec& dialog) {
    QFileDialog* dlg = makeFileDialog(owner, dialog);
    dlg->setAcceptMode(QFileDialog::AcceptSave);
    dlg->setFileMode(QFileDialog::AnyFile);
    return runFileDialog(dlg);
}

std::optional<QString> QtDialogs::browseForFolder(QWidget* owner, const QString& title) {
    QFileDialog dlg(owner, title);
    dlg.setFileMode(QFileDialog::Directory);
    dlg.setOption(QFileDialog::ShowDirsOnly);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dlg.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

std::optional<QString> QtDialogs::inputBox(QWidget* owner, const QString& title,
                                           const QString& prompt, const QString& value) {
    bool ok = false;
    const QString text = QInputDialog::getText(owner, title, prompt, QLineEdit::Normal, value, &ok);
    if (!ok) return std::nullopt;
    return text;
}

std::optional<QString> QtDialogs::passwordBox(QWidget* owner, const QString& title,
                                              const QString& prompt) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(owner, title, prompt, QLineEdit::Password, QString(), &ok);
    if (!ok) return std::nullopt;
    return text;
}

bool QtDialogs::openUrl(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

int QtDialogs::showModal(QWidget* window) {
    if (auto* dlg = qobject_cast<QDialog*>(window)) return dlg->exec();
    QPointer<QWidget> guard(window);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    QEventLoop loop;
    while (guard && guard->isVisible()) loop.processEvents(QEventLoop::WaitForMoreEvents);
    return 0;
}

}  // namespace rostrix
