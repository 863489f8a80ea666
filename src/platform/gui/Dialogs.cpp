// SPDX-License-Identifier: GPL-3.0-or-later
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
#include <QWindow>
#include <cstdio>
#include <vector>

#include "platform/ExitRequest.h"
#include "platform/WindowPlacement.h"
#include "platform/gui/FileChooser.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/QtDialogs.h"

namespace rostrix {

namespace {

Dialogs* installed = nullptr;
QPointer<QWidget> mainWindow;
// Our windows shown modally at this moment, the one shown last at the back.
std::vector<QPointer<QWidget>> modalWindows;

// The answer of a box closed without a choice: the one that does nothing.
int noChoice(int buttons) {
    return (buttons & Cancel) ? Cancel : (buttons & No) ? No : Ok;
}

bool shown(const QWidget* window) {
    return window && window->isVisible();
}

// The window shown modally last, other than window itself, else the main window.
QWidget* modalOpener(const QWidget* window) {
    for (auto it = modalWindows.rbegin(); it != modalWindows.rend(); ++it)
        if (*it != window && shown(*it)) return *it;
    return shown(mainWindow) && mainWindow != window ? mainWindow.data() : nullptr;
}

std::string fileDialogSetting;
std::optional<FileDialogKind> fileDialogs;  // decided at the first file dialog

// Whether QFileDialog shows the desktop's own dialog here: it builds no widgets of its own
// then.
bool nativeFileDialog() {
    const QFileDialog probe;
    return probe.findChildren<QWidget*>().isEmpty();
}

std::optional<std::string> runFileDialog(QWidget* owner, ChooserMode mode,
                                         const FileDialogSpec& dialog) {
    if (exitRequested()) return std::nullopt;
    if (!fileDialogs) fileDialogs = fileDialogKind(fileDialogSetting, nativeFileDialog());
    if (*fileDialogs == FileDialogKind::Own) {
        FileChooser chooser(openerFor(owner), mode, dialog);
        if (chooser.exec() != QDialog::Accepted) return std::nullopt;
        return chooser.chosenBytes();
    }
    QFileDialog box(openerFor(owner), dialog.title, dialog.initialDir, qtFileFilter(dialog.filter));
    if (mode == ChooserMode::Folder) {
        box.setFileMode(QFileDialog::Directory);
        box.setOption(QFileDialog::ShowDirsOnly);
    } else {
        box.setAcceptMode(mode == ChooserMode::Open ? QFileDialog::AcceptOpen
                                                    : QFileDialog::AcceptSave);
        box.setFileMode(mode == ChooserMode::Open ? QFileDialog::ExistingFile
                                                  : QFileDialog::AnyFile);
        box.setDefaultSuffix(dialog.defaultExt);
        box.setOption(QFileDialog::DontConfirmOverwrite, !dialog.confirmOverwrite);
        if (!dialog.fileName.isEmpty()) box.selectFile(dialog.fileName);
    }
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = box.selectedFiles();
    // A name that is not UTF-8 comes back as the dialog showed it.
    return chosen.isEmpty() ? std::string() : chosenPathBytes(chosen.first());
}

}  // namespace

FileDialogKind fileDialogKind(const std::string& setting, bool nativeDialog) {
    if (setting == "desktop") return FileDialogKind::Desktop;
    if (setting == "own") return FileDialogKind::Own;
    return nativeDialog ? FileDialogKind::Desktop : FileDialogKind::Own;
}

void setFileDialogSetting(const std::string& setting) {
    fileDialogSetting = setting;
    fileDialogs.reset();
}

void setMainWindow(QWidget* window) {
    mainWindow = window;
}

QWidget* theMainWindow() {
    return mainWindow;
}

QWidget* openerFor(QWidget* owner) {
    if (owner && shown(owner->window())) return owner->window();
    return modalOpener(nullptr);
}

void attachToOpener(QWidget* window, QWidget* opener) {
    if (!window) return;
    window = window->window();
    QWindow* parent = nullptr;
    if (opener && opener->window() != window) {
        opener = opener->window();
        opener->winId();
        parent = opener->windowHandle();
    }
    // Creating the platform window lets it carry the link from its first showing on; the
    // desktop reads it each time the window is shown.
    window->winId();
    window->windowHandle()->setTransientParent(parent);
}

int Dialogs::showModal(QWidget* window) {
    attachToOpener(window, modalOpener(window));
    modalWindows.emplace_back(window);
    struct Closed {
        ~Closed() { modalWindows.pop_back(); }
    } closed;
    return runModal(window);
}

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
    // A Wayland desktop places windows itself (a parented one over its parent) and ignores
    // where a program asks for them.
    if (!window || QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return;
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

// Asked to end (a log-out, a terminal closed), the program asks nobody anything: nobody is
// there to answer, and the session would kill it while it waits. A question takes the
// answer that does nothing; an error goes to standard error.
int QtDialogs::message(QWidget* owner, const QString& title, const QString& text, MsgIcon icon,
                       int buttons) {
    if (exitRequested()) {
        if (icon == MsgIcon::Error)
            std::fprintf(stderr, "%s: %s\n", title.toLocal8Bit().constData(),
                         text.toLocal8Bit().constData());
        return noChoice(buttons);
    }
    QMessageBox box(openerFor(owner));
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
            return noChoice(buttons);
    }
}

std::optional<std::string> QtDialogs::openFile(QWidget* owner, const FileDialogSpec& dialog) {
    return runFileDialog(owner, ChooserMode::Open, dialog);
}

std::optional<std::string> QtDialogs::saveFile(QWidget* owner, const FileDialogSpec& dialog) {
    return runFileDialog(owner, ChooserMode::Save, dialog);
}

std::optional<std::string> QtDialogs::browseForFolder(QWidget* owner, const QString& title) {
    FileDialogSpec dialog;
    dialog.title = title;
    return runFileDialog(owner, ChooserMode::Folder, dialog);
}

std::optional<QString> QtDialogs::inputBox(QWidget* owner, const QString& title,
                                           const QString& prompt, const QString& value) {
    if (exitRequested()) return std::nullopt;
    bool ok = false;
    const QString text =
        QInputDialog::getText(openerFor(owner), title, prompt, QLineEdit::Normal, value, &ok);
    if (!ok) return std::nullopt;
    return text;
}

std::optional<QString> QtDialogs::passwordBox(QWidget* owner, const QString& title,
                                              const QString& prompt) {
    if (exitRequested()) return std::nullopt;
    bool ok = false;
    const QString text =
        QInputDialog::getText(openerFor(owner), title, prompt, QLineEdit::Password, QString(), &ok);
    if (!ok) return std::nullopt;
    return text;
}

bool QtDialogs::openUrl(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

int QtDialogs::runModal(QWidget* window) {
    if (exitRequested()) return 0;
    if (auto* dlg = qobject_cast<QDialog*>(window)) return dlg->exec();
    QPointer<QWidget> guard(window);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    QEventLoop loop;
    while (guard && guard->isVisible()) loop.processEvents(QEventLoop::WaitForMoreEvents);
    return 0;
}

}  // namespace rostrix
