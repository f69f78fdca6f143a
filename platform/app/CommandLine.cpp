#include "platform/app/CommandLine.h"

#include <QCommandLineParser>
#include <QStringList>

namespace vorelt {

namespace {
constexpr auto kPlaces = "auto, bar, tray or stdout";
}  // namespace

CommandLine::CommandLine(const std::vector<std::string>& arguments) {
    QCommandLineParser parser;
    // As Qt's own options are written: a single dash before a word takes it for one option.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption showIn(QStringLiteral("show-in"), QString(), QStringLiteral("place"));
    parser.addOptions({help, version, showIn});
    // The parser skips the first argument, the program's name.
    QStringList list{QStringLiteral("vorelt")};
    for (const std::string& argument : arguments) {
        list.append(QString::fromStdString(argument));
    }
    parser.parse(list);
    help_ = parser.isSet(help);
    version_ = parser.isSet(version);

    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
        const QString& name = unknown.first();
        fail("unknown option '" + std::string(name.size() == 1 ? "-" : "--") + name.toStdString() +
             "'");
    }
    if (parser.isSet(showIn) && parser.values(showIn).isEmpty()) {
        fail("option '--show-in' needs a place: " + std::string(kPlaces));
    }
    for (const QString& value : parser.values(showIn)) {
        if (const auto place = StatusBarHostRule::placeNamed(value.toStdString())) {
            place_ = *place;
        } else {
            fail("unknown place '" + value.toStdString() + "' for --show-in: " + kPlaces);
        }
    }
    if (const QStringList stray = parser.positionalArguments(); !stray.isEmpty()) {
        fail("unexpected argument '" + stray.first().toStdString() + "'");
    }
}

void CommandLine::fail(std::string message) {
    if (error_.empty()) {
        error_ = std::move(message) + " (see --help)";
    }
}

std::string CommandLine::usage(const std::string& program) {
    return "Usage: " + program + R"( [--show-in=auto|bar|tray|stdout] [Qt options]

A clock for the desktop's status bar: the date and time in a pattern of your own,
refreshed every second. Click it for a calendar, Settings and Quit.

Options:
  --show-in=PLACE  where the clock shows:
                     auto    the panel's tray where it shows text beside icons (GNOME
                             Shell with the AppIndicator extension, Ayatana indicators),
                             else a bar of its own along the top (the default)
                     bar     a bar of its own along the top of the screen
                     tray    the panel's tray whenever there is one
                     stdout  standard output, one line a change, for bar programs
  -h, --help       show this help and exit
  --version        show the version and exit

Qt's own options, such as -platform or -display, work as in every Qt program.
Settings: $XDG_CONFIG_HOME/vorelt/vorelt.conf, changed in the Settings window.
)";
}

}  // namespace vorelt
