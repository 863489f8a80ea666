// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace rostrix {

enum class MsgIcon { None, Information, Warning, Error, Question };

// Buttons of a message box; combine with |. The answer is one of them (Cancel when the
// box is closed without a choice and Cancel was offered, else the only/first button).
enum MsgButton : int { Ok = 1, Cancel = 2, Yes = 4, No = 8 };

// A common file-open or file-save dialog as the window describes it.
struct FileDialogSpec {
    QString title;
    QString defaultExt;  // without the dot: "dat"
    QString filter;      // "Description|*.ext|Description|*.ext"
    QString initialDir;  // empty: the dialog's own choice
    QString fileName;    // preset file name, may be a full path
    bool confirmOverwrite = true;
};

// Every modal question, file dialog, folder browser, "open in browser" and modal
// showing of one of our windows goes through here, so tests can answer them.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual int message(QWidget* owner, const QString& title, const QString& text, MsgIcon icon,
                        int buttons) = 0;
    // The chosen path as the file system spells it, or nothing when the dialog was
    // dismissed.
    virtual std::optional<std::string> openFile(QWidget* owner, const FileDialogSpec& dialog) = 0;
    virtual std::optional<std::string> saveFile(QWidget* owner, const FileDialogSpec& dialog) = 0;
    // Nothing on cancel; an empty path for a chosen item that has no file-system path.
    virtual std::optional<std::string> browseForFolder(QWidget* owner, const QString& title) = 0;
    // Nothing on cancel.
    virtual std::optional<QString> inputBox(QWidget* owner, const QString& title,
                                            const QString& prompt, const QString& value) = 0;
    // Like inputBox, but what is typed is not shown (a password); starts empty.
    virtual std::optional<QString> passwordBox(QWidget* owner, const QString& title,
                                               const QString& prompt) = 0;
    // Asks the desktop to open the address in the default browser; false on failure.
    virtual bool openUrl(const QString& url) = 0;
    // Shows one of our windows modally over the window it opens from (see openerFor) and
    // returns when it has been closed.
    int showModal(QWidget* window);

protected:
    // Shows the window modally once it belongs to its opener.
    virtual int runModal(QWidget* window) = 0;
};

// The installed implementation (the Qt one unless a test installed its own).
Dialogs& dialogs();
// Installs d (not owned); nullptr restores the Qt implementation.
void setDialogs(Dialogs* d);

// The window every other one opens over while none of ours is shown modally.
void setMainWindow(QWidget* window);
// That window, for the windows that centre themselves over it; null before it is made.
QWidget* theMainWindow();
// The window a box or window asked for by owner opens over: owner's window while it is
// shown, else the window shown modally last that is still shown, else the main window
// when shown; null when nothing is.
QWidget* openerFor(QWidget* owner);
// Makes opener the desktop's parent of window (X11 WM_TRANSIENT_FOR, Wayland set_parent)
// for its next showing, so the desktop keeps it above opener and raises it with it.
// Only the windowing link changes: window stays a top-level window of its own.
void attachToOpener(QWidget* window, QWidget* opener);

// Which file dialogs the program shows: the desktop's (QFileDialog, the desktop's own
// where the platform theme offers one) or the program's own chooser.
enum class FileDialogKind { Desktop, Own };
// The key "File Dialog" decides when it says "desktop" or "own"; else the desktop's dialog
// where it is a native one, and the own chooser where Qt would show its widget dialog,
// which leaves out the names that are not UTF-8.
FileDialogKind fileDialogKind(const std::string& setting, bool nativeDialog);
// The key's value as the settings file holds it, read at start-up.
void setFileDialogSetting(const std::string& setting);

// Converts "Description|*.ext|..." into Qt's "Description (*.ext);;..." form.
QString qtFileFilter(const QString& filter);

// Centres window over the main window, as every modal opening does (over the screen when
// over is null or hidden), and keeps it on that screen. On Wayland it does nothing: the
// desktop places windows itself, a window with a transient parent over that parent.
void centreOver(QWidget* window, QWidget* over);

}  // namespace rostrix
