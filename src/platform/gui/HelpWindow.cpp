// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/HelpWindow.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <utility>

// Q_INIT_RESOURCE may not stand inside a namespace.
static void loadHandbook() {
    Q_INIT_RESOURCE(Handbook);  // the handbook lives in a static library
}

namespace rostrix {

namespace {

// Windows by object name, and where the handbook tells of them.
constexpr std::pair<const char*, const char*> kTopics[] = {
    {"TForm1", "main-window"},
    {"TForm4", "editor"},
    {"TForm2", "about"},
    {"TForm3", "player-archive"},
    {"TForm5", "names"},
    {"TForm6", "duplicate-names"},
    {"TForm7", "make-zip"},
    {"TForm8", "send-team"},
    {"TForm10", "download"},
    {"TForm14", "playoffs"},
    {"TForm15", "careers"},
    {"SeasonSummary", "create-season"},
    {"SeasonProgress", "create-season"},
    {"FileChooser", "file-dialogs"},
    {"QFileDialog", "file-dialogs"},
    {"HelpWindow", "contents"},
};

QPointer<QDialog> help;
QPointer<QTextBrowser> text;

QDialog* makeHelp() {
    loadHandbook();
    auto* window = new QDialog;
    window->setObjectName(QStringLiteral("HelpWindow"));
    window->setWindowTitle(QStringLiteral("Rostrix Help"));
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->setSizeGripEnabled(true);
    window->resize(640, 600);
    auto* layout = new QVBoxLayout(window);
    text = new QTextBrowser(window);
    text->setObjectName(QStringLiteral("HelpText"));
    text->setAccessibleName(QStringLiteral("Handbook"));
    text->setOpenLinks(true);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, window);
    QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::close);
    layout->addWidget(buttons);
    return window;
}

}  // namespace

QString helpTopic(const QWidget* window) {
    for (const QWidget* w = window; w;
         w = w->parentWidget() ? w->parentWidget()->window() : nullptr)
        for (const auto& [name, topic] : kTopics)
            if (w->objectName() == QLatin1String(name)) return QString::fromLatin1(topic);
    return QStringLiteral("contents");
}

QString helpTopicAt(const QWidget* widget) {
    for (const QWidget* w = widget; w && !w->isWindow(); w = w->parentWidget())
        if (const QVariant topic = w->property(kHelpTopicProperty); topic.isValid())
            return topic.toString();
    return helpTopic(widget ? widget->window() : nullptr);
}

void showHelp(QWidget* over, const QString& topic) {
    if (!help) help = makeHelp();
    QWidget* owner = over ? over->window() : nullptr;
    if (owner == help) owner = help->parentWidget();
    if (help->parentWidget() != owner) {
        // Taking it over from another window hides it; it is shown again below.
        help->setParent(owner, help->windowFlags());
    }
    QUrl page(QStringLiteral("qrc:/help/handbook.html"));
    page.setFragment(topic);
    text->setSource(page);
    help->show();
    help->raise();
    help->activateWindow();
}

QTextBrowser* helpText() {
    return help ? text.data() : nullptr;
}

}  // namespace rostrix
