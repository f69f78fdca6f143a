#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "model/Identifiers.h"
#include "platform/ServiceManagement.h"

namespace vorelt {
namespace {

using namespace std::literals;
using test::filesIn;
using test::readFile;
using Arguments = std::vector<std::string>;
constexpr auto npos = std::string_view::npos;
constexpr std::string_view kKeyCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-";

// Reading an entry the way the Desktop Entry format lays down, independently of the writer.

// The keys of the one [Desktop Entry] group of the entry at `path` with their values as written,
// or nothing when its text breaks the format's rules for lines, groups and keys.
std::optional<std::map<std::string, std::string>> readEntry(const QString& path) {
    const QByteArray text = readFile(path);
    if (!text.startsWith("[Desktop Entry]\n") || !text.endsWith('\n') ||
        QString::fromUtf8(text).toUtf8() != text) {
        return std::nullopt;
    }
    std::map<std::string, std::string> keys;
    for (const QByteArray& line : text.chopped(1).split('\n').mid(1)) {
        if (line.isEmpty() || line.startsWith('#')) {
            continue;
        }
        const auto equals = line.indexOf('=');
        const std::string key = line.left(equals).trimmed().toStdString();
        std::string value = line.mid(equals + 1).toStdString();
        value.erase(0, value.find_first_not_of(' '));
        // A second group, a line without a key, or a key of other characters or seen before.
        if (equals <= 0 || key.empty() || key.find_first_not_of(kKeyCharacters) != npos ||
            !keys.emplace(key, value).second) {
            return std::nullopt;
        }
    }
    return keys;
}

// A value of type string with its escapes undone: \s \n \t \r \\ and nothing else.
std::optional<std::string> unescapeString(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (c < 0x20 || c == 0x7f) {
            return std::nullopt;
        }
        if (c != '\\') {
            text += value[i];
            continue;
        }
        const std::size_t escape = ++i < value.size() ? "sntr\\"sv.find(value[i]) : npos;
        if (escape == npos) {
            return std::nullopt;
        }
        text += " \n\t\r\\"[escape];
    }
    return text;
}

// The argument vector of an unescaped Exec value: arguments apart by spaces; an argument with a
// reserved character wholly in double quotes, inside which only " ` $ \ are escaped by a
// backslash and must be; quoting undone before field codes, of which only %% (a percent sign)
// may appear here.
std::optional<Arguments> splitExec(std::string_view exec) {
    Arguments arguments;
    for (std::size_t i = 0; i < exec.size();) {
        if (exec[i] == ' ') {
            ++i;
            continue;
        }
        std::string argument;
        if (exec[i] == '"') {
            for (++i; i < exec.size() && exec[i] != '"'; ++i) {
                if (exec[i] == '\\' && i + 1 < exec.size() &&
                    "\"`$\\"sv.find(exec[i + 1]) != npos) {
                    ++i;
                } else if ("`$\\"sv.find(exec[i]) != npos) {
                    return std::nullopt;
                }
                argument += exec[i];
            }
            if (i == exec.size() || (++i < exec.size() && exec[i] != ' ')) {
                return std::nullopt;
            }
        } else {
            for (; i < exec.size() && exec[i] != ' '; ++i) {
                if ("\t\n\"'\\><~|&;$*?#()`"sv.find(exec[i]) != npos) {
                    return std::nullopt;
                }
                argument += exec[i];
            }
        }
        for (std::size_t p = 0; (p = argument.find('%', p)) != npos; ++p) {
            if (argument.compare(p, 2, "%%") != 0) {
                return std::nullopt;
            }
            argument.erase(p, 1);
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

// The argument vector the session runs for the entry at `path`.
std::optional<Arguments> execArguments(const QString& path) {
    const auto keys = readEntry(path);
    const auto exec =
        keys && keys->contains("Exec") ? unescapeString(keys->at("Exec")) : std::nullopt;
    return exec ? splitExec(*exec) : std::nullopt;
}

// Path names that an Exec line has to quote or escape.
constexpr const char* kAwkwardNames[] = {
    "plain-name_1.2", "with space", "two  spaces ", "it's",          "say \"hi\"",
    "back\\slash",    "trailing\\", "\\\\double",   "100%",          "%u %f %%",
    "$HOME",          "${PATH}",    "`id`",         "$(id)",         "semi;colon&amp|pipe",
    "<in>out~*?#",    "tab\there",  "=equals=",     "\\\"$`%\\s\\n", "äöü 時計 \xF0\x9F\x95\x90"};
// Path names that an entry cannot hold: control characters, bytes that are no UTF-8.
constexpr const char* kUnrepresentableNames[] = {"new\nline", "carriage\rreturn", "bell\a",
                                                 "del\x7f", "latin1 \xE9t\xE9"};

// A private config home and a folder for launcher programs; the login item's program is reset
// afterwards.
class LoginItem : public testing::Test {
protected:
    void TearDown() override { setLoginItemProgramForTesting({}); }

    QString autostart() const { return home.home() + "/autostart"; }
    QString entry() const {
        return autostart() + "/" + QString::fromUtf8(launcherBundleIdentifier) + ".desktop";
    }
    QStringList onlyTheEntry() const { return {QFileInfo(entry()).fileName()}; }
    // An executable file at `relative` below the programs folder, as the bytes of a path; its
    // name may hold bytes that are no UTF-8.
    std::string makeProgram(const std::string& relative) const {
        const std::filesystem::path path =
            std::filesystem::path(QFile::encodeName(programs.path()).toStdString()) / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "#!/bin/sh\n";
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path.string();
    }
    bool enable() const { return enableLoginItem(launcherBundleIdentifier); }

    test::TemporaryConfigHome home;
    QTemporaryDir programs;
};

TEST_F(LoginItem, AwkwardLauncherPathsComeBackAsTheOneArgumentOfAValidEntry) {
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    for (const std::string name : kAwkwardNames) {
        SCOPED_TRACE(name);
        const std::string program = makeProgram(name + "/vorelt-launcher");
        setLoginItemProgramForTesting(program);
        ASSERT_TRUE(enable());
        EXPECT_EQ(execArguments(entry()), Arguments{program}) << readFile(entry()).constData();
        if (!validator.isEmpty()) {
            QProcess validate;
            validate.start(validator, {entry()});
            ASSERT_TRUE(validate.waitForFinished());
            EXPECT_EQ(validate.exitCode(), 0) << validate.readAll().constData();
        }
    }
}

TEST_F(LoginItem, ConfigHomeThatIsUnsetOrRelativeMeansDotConfig) {
    QTemporaryDir userHome;
    const QByteArray previousHome = qgetenv("HOME");
    qputenv("HOME", userHome.path().toUtf8());
    setLoginItemProgramForTesting(makeProgram("vorelt-launcher"));
    const QString expected = userHome.path() + "/.config/autostart/" +
                             QString::fromUtf8(launcherBundleIdentifier) + ".desktop";
    for (const char* value : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        SCOPED_TRACE(value == nullptr ? "unset" : value);
        value == nullptr ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", value);
        EXPECT_TRUE(enable());
        EXPECT_TRUE(QFileInfo(expected).isFile());
        EXPECT_TRUE(QFile::remove(expected));
    }
    qputenv("HOME", previousHome);
    EXPECT_FALSE(QFileInfo::exists(autostart()));
}

TEST_F(LoginItem, EntryFollowsTheProgramAndNoTemporaryFileIsLeft) {
    setLoginItemProgramForTesting(makeProgram("first/vorelt-launcher"));
    ASSERT_TRUE(enable());
    ASSERT_TRUE(enable());
    const std::string second = makeProgram("second/vorelt-launcher");
    setLoginItemProgramForTesting(second);
    ASSERT_TRUE(enable());
    EXPECT_EQ(execArguments(entry()), Arguments{second});
    EXPECT_EQ(filesIn(autostart()), onlyTheEntry());

    // A write that cannot be done leaves nothing behind either.
    ASSERT_TRUE(QFile::remove(entry()));
    ASSERT_TRUE(QDir().mkpath(entry() + "/in-the-way"));
    EXPECT_FALSE(enable());
    EXPECT_EQ(filesIn(autostart()), onlyTheEntry());
}

TEST_F(LoginItem, ALinkInPlaceOfTheEntryIsReplacedNotWrittenThrough) {
    const std::string program = makeProgram("vorelt-launcher");
    setLoginItemProgramForTesting(program);
    const QString victim = programs.path() + "/victim";
    {
        QFile file(victim);
        file.open(QIODevice::WriteOnly);
        file.write("untouched");
    }
    QDir().mkpath(autostart());
    QFile::link(victim, entry());
    ASSERT_TRUE(enable());
    QFile file(victim);
    file.open(QIODevice::ReadOnly);
    EXPECT_EQ(file.readAll(), "untouched");
    EXPECT_FALSE(QFileInfo(entry()).isSymLink());
    EXPECT_EQ(execArguments(entry()), Arguments{program});
}

TEST_F(LoginItem, WritesNothingWithoutAProgramOrForAPathOrIdentifierItCannotHold) {
    setLoginItemProgramForTesting(programs.path().toStdString() + "/missing");
    EXPECT_FALSE(enable());
    const std::string notExecutable = makeProgram("plain");
    std::filesystem::permissions(
        notExecutable, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    setLoginItemProgramForTesting(notExecutable);
    EXPECT_FALSE(enable());
    // The search beside this program: the tests are built where no launcher is.
    const QString here = QCoreApplication::applicationDirPath();
    if (!QFileInfo::exists(here + "/vorelt-launcher") &&
        !QFileInfo::exists(here + "/../libexec/vorelt/vorelt-launcher")) {
        setLoginItemProgramForTesting({});
        EXPECT_FALSE(enable());
    }
    EXPECT_FALSE(QFileInfo::exists(autostart()));

    setLoginItemProgramForTesting(makeProgram("good/vorelt-launcher"));
    ASSERT_TRUE(enable());
    const QByteArray before = readFile(entry());
    for (const std::string name : kUnrepresentableNames) {
        SCOPED_TRACE(name);
        const std::string program = makeProgram(name);
        setLoginItemProgramForTesting(program);
        EXPECT_FALSE(enable());
        EXPECT_EQ(readFile(entry()), before) << "the earlier entry stays as it was";
        EXPECT_EQ(filesIn(autostart()), onlyTheEntry());
        // A name that is no UTF-8 is beyond QTemporaryDir's clean-up.
        std::filesystem::remove(program);
    }

    for (const std::string_view identifier :
         {applicationBundleIdentifier, "io.github.vorelt.voreltlauncher"sv,
          "../io.github.vorelt.VoreltLauncher"sv, ""sv}) {
        SCOPED_TRACE(identifier);
        EXPECT_FALSE(enableLoginItem(identifier));
    }
    EXPECT_EQ(filesIn(autostart()), onlyTheEntry());
    EXPECT_EQ(readFile(entry()), before);
}

}  // namespace
}  // namespace vorelt
