// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/CommandLine.h"

#include <QCommandLineParser>

#include "settings/UpdateSite.h"

namespace rostrix {

namespace {

constexpr const char* kUsage =
    "Usage: rostrix [options]\n"
    "Creates, edits and archives team files for the QRD baseball simulation, packs them\n"
    "and mails them to a team library.\n"
    "\n"
    "Rostrix keeps its settings (qrdTeams.ini), its archives and its team files in the\n"
    "folder it is started in.\n"
    "\n"
    "Options:\n"
    "  -h, --help     Show this summary and exit.\n"
    "  -v, --version  Show the version and exit.\n"
    "\n"
    "The options of the Qt toolkit, such as -platform xcb, are accepted as well.\n"
    "See rostrix(1) for the files, the settings and the signals it answers.\n";

// Options the toolkit reads from the command line itself, with a value and without.
const char* const kToolkitValueOptions[] = {
    "platform",        "platformpluginpath", "platformtheme", "plugin",
    "qwindowgeometry", "qwindowicon",        "qwindowtitle",  "session",
    "style",           "stylesheet",         "display",       "geometry"};
const char* const kToolkitFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

CommandLineAnswer usageError(const QString& what) {
    return {false, 2, {}, "rostrix: " + what.toStdString() + " Try 'rostrix --help'.\n"};
}

}  // namespace

CommandLineAnswer readCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // "-platform xcb" is the toolkit's option, not six one-letter options.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    for (const char* name : kToolkitValueOptions)
        parser.addOption(
            QCommandLineOption(QString::fromLatin1(name), {}, QStringLiteral("value")));
    for (const char* name : kToolkitFlags)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));

    if (!parser.parse(arguments)) return usageError(parser.errorText());
    if (parser.isSet(help)) return {false, 0, kUsage, {}};
    if (parser.isSet(version))
        return {false, 0, std::string("Rostrix ") + kProgramVersion + "\n", {}};
    if (!parser.positionalArguments().isEmpty())
        return usageError(
            QStringLiteral("unexpected argument '%1'.").arg(parser.positionalArguments().first()));
    // Without a display the toolkit would abort with advice to reinstall it; say what is
    // missing instead. Platforms that need no display (offscreen, vnc, ...) start as usual.
    const QString platform = parser.isSet(QStringLiteral("platform"))
                                 ? parser.value(QStringLiteral("platform"))
                                 : qEnvironmentVariable("QT_QPA_PLATFORM");
    const bool needsDisplay = platform.isEmpty() || platform.startsWith(QLatin1String("xcb")) ||
                              platform.startsWith(QLatin1String("wayland"));
    if (needsDisplay && !parser.isSet(QStringLiteral("display")) &&
        qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {false,
                1,
                {},
                "rostrix: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not "
                "set)\n"};
    return {};
}

}  // namespace rostrix
