#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "model/Identifiers.h"
#include "platform/ServiceManagement.h"

namespace vorelt {
namespace {

using test::TemporaryConfigHome;

// Reading an entry the way the Desktop Entry format lays down, independently of the writer.

// The keys of the [Desktop Entry] group with their values as written, or nothing when the text
// breaks the format's rules for lines, groups and keys.
std::optional<std::map<std::string, std::string>> readEntry(const QByteArray& text) {
    if (!text.endsWith('\n') || QString::fromUtf8(text).toUtf8() != text) {
        return std::nullopt;
    }
    std::map<std::string, std::string> keys;
    bool inGroup = false;
    for (const QByteArray& line : text.chopped(1).split('\n')) {
        if (line.isEmpty() || line.startsWith('#')) {
            continue;
        }
        if (line.startsWith('[')) {
            if (inGroup || line != "[Desktop Entry]") {
                return std::nullopt;
            }
            inGroup = true;
            continue;
        }
        const auto equals = line.indexOf('=');
        if (!inGroup || equals <= 0) {
            return std::nullopt;
        }
        const std::string key = line.left(equals).trimmed().toStdString();
        std::string value = line.mid(equals + 1).toStdString();
        value.erase(0, value.find_first_not_of(' '));
        if (key.find_first_not_of(
                "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-") !=
                std::string::npos ||
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
        if (++i == value.size()) {
            return std::nullopt;
        }
        switch (value[i]) {
            case 's':
                text += ' ';
                break;
            case 'n':
                text += '\n';
                break;
            case 't':
                text += '\t';
                break;
            case 'r':
                text += '\r';
                break;
            case '\\':
                text += '\\';
                break;
            default:
                return std::nullopt;
        }
    }
    return text;
}

// The argument vector of an unescaped Exec value: arguments apart by spaces; an argument with a
// reserved character wholly in double quotes, inside which only " ` $ \ are escaped by a
// backslash and must be; quoting undone before field codes, of which only %% (a percent sign)
// may appear here.
std::optional<std::vector<std::string>> splitExec(std::string_view exec) {
    constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
    std::vector<std::string> arguments;
    std::string argument;
    bool inArgument = false;
    std::size_t i = 0;
    while (i < exec.size()) {
        const char c = exec[i++];
        if (c == ' ') {
            if (inArgument) {
                arguments.push_back(std::move(argument));
                argument.clear();
                inArgument = false;
            }
            continue;
        }
        if (c == '"') {
            if (inArgument) {
                return std::nullopt;
            }
            bool closed = false;
            while (i < exec.size() && !closed) {
                const char q = exec[i++];
                if (q == '"') {
                    closed = true;
                } else if (q == '\\') {
                    if (i == exec.size() ||
                        std::string_view("\"`$\\").find(exec[i]) == std::string_view::npos) {
                        return std::nullopt;
                    }
                    argument += exec[i++];
                } else if (q == '`' || q == '$') {
                    return std::nullopt;
                } else {
                    argument += q;
                }
            }
            if (!closed || (i < exec.size() && exec[i] != ' ')) {
                return std::nullopt;
            }
            arguments.push_back(std::move(argument));
            argument.clear();
            continue;
        }
        if (reserved.find(c) != std::string_view::npos) {
            return std::nullopt;
        }
        argument += c;
        inArgument = true;
    }
    if (inArgument) {
        arguments.push_back(std::move(argument));
    }
    for (std::string& each : arguments) {
        std::string expanded;
        for (std::size_t j = 0; j < each.size(); ++j) {
            if (each[j] != '%') {
                expanded += each[j];
            } else if (j + 1 < each.size() && each[j + 1] == '%') {
                expanded += '%';
                ++j;
            } else {
                return std::nullopt;
            }
        }
        each = std::move(expanded);
    }
    return arguments;
}

// The argument vector the session runs for the entry at `path`.
std::optional<std::vector<std::string>> execArguments(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const auto keys = readEntry(file.readAll());
    if (!keys || !keys->contains("Exec")) {
        return std::nullopt;
    }
    const auto exec = unescapeString(keys->at("Exec"));
    return exec ? splitExec(*exec) : std::nullopt;
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                  QDir::System);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// A private config home and a folder for launcher programs; the login item's program is reset
// afterwards.
class LoginItem : public testing::Test {
protected:
    void TearDown() override { setLoginItemProgramForTesting({}); }

    QString autostart() const { return home.home() + "/autostart"; }
    QString entry() const {
        return autostart() + "/" + QString::fromUtf8(launcherBundleIdentifier) + ".desktop";
    }
    // An executable file at `relative` below the programs folder, as the bytes of a path; its
    // name may hold bytes that are no UTF-8.
    std::string makeProgram(const std::string& relative) const {
        const std::string path = QFile::encodeName(programs.path()).toStdString() + "/" + relative;
        QDir().mkpath(QFile::decodeName(path.substr(0, path.rfind('/')).c_str()));
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0700);
        EXPECT_GE(fd, 0) << path;
        EXPECT_EQ(::write(fd, "#!/bin/sh\n", 10), 10);
        ::close(fd);
        return path;
    }
    bool enable() const { return SMLoginItemSetEnabled(launcherBundleIdentifier, true); }

    TemporaryConfigHome home;
    QTemporaryDir programs;
};

TEST_F(LoginItem, AwkwardLauncherPathsComeBackAsTheOneArgument) {
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    const std::vector<std::string> awkward = {
        "plain-name_1.2",
        "with space",
        "two  spaces ",
        "it's",
        "say \"hi\"",
        "back\\slash",
        "trailing\\",
        "\\\\double",
        "100%",
        "%u %f %%",
        "$HOME",
        "${PATH}",
        "`id`",
        "$(id)",
        "semi;colon&amp|pipe",
        "<in>out~*?#",
        "tab\there",
        "=equals=",
        "\\\"$`%\\s\\n",
        "äöü 時計 \xF0\x9F\x95\x90",
    };
    for (const std::string& name : awkward) {
        SCOPED_TRACE(name);
        const std::string program = makeProgram(name + "/vorelt-launcher");
        setLoginItemProgramForTesting(program);
        ASSERT_TRUE(enable());
        EXPECT_EQ(execArguments(entry()), std::vector<std::string>{program})
            << readFile(entry()).constData();
        if (!validator.isEmpty()) {
            QProcess validate;
            validate.start(validator, {entry()});
            ASSERT_TRUE(validate.waitForFinished());
            EXPECT_EQ(validate.exitCode(), 0) << validate.readAll().constData();
        }
    }
}

TEST_F(LoginItem, EntryIsAnAutostartEntryThatTheSessionRuns) {
    const std::string program = makeProgram("vorelt-launcher");
    setLoginItemProgramForTesting(program);
    ASSERT_TRUE(enable());
    const QByteArray text = readFile(entry());
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n")) << text.constData();
    const auto keys = readEntry(text);
    ASSERT_TRUE(keys) << text.constData();
    EXPECT_EQ(keys->at("Type"), "Application");
    EXPECT_EQ(keys->at("Name"), "Vorelt");
    EXPECT_FALSE(keys->at("Comment").empty());
    EXPECT_EQ(keys->at("X-GNOME-Autostart-enabled"), "true");
    EXPECT_EQ(keys->at("NoDisplay"), "true");
    EXPECT_EQ(keys->at("Terminal"), "false");
    EXPECT_FALSE(keys->contains("Hidden")) << "a hidden entry is never started";
    EXPECT_EQ(execArguments(entry()), std::vector<std::string>{program});
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
        if (value == nullptr) {
            qunsetenv("XDG_CONFIG_HOME");
        } else {
            qputenv("XDG_CONFIG_HOME", value);
        }
        EXPECT_TRUE(enable());
        EXPECT_TRUE(QFileInfo(expected).isFile());
        EXPECT_TRUE(SMLoginItemSetEnabled(launcherBundleIdentifier, false));
        EXPECT_FALSE(QFileInfo::exists(expected));
    }
    qputenv("HOME", previousHome);
    EXPECT_FALSE(QFileInfo::exists(autostart()));
}

TEST_F(LoginItem, DisablingRemovesTheEntryAndNoTemporaryFileIsLeft) {
    setLoginItemProgramForTesting(makeProgram("first/vorelt-launcher"));
    ASSERT_TRUE(enable());
    ASSERT_TRUE(enable());
    const std::string second = makeProgram("second/vorelt-launcher");
    setLoginItemProgramForTesting(second);
    ASSERT_TRUE(enable());
    EXPECT_EQ(execArguments(entry()), std::vector<std::string>{second}) << "the entry follows";
    EXPECT_EQ(filesIn(autostart()), QStringList{QFileInfo(entry()).fileName()});

    EXPECT_TRUE(SMLoginItemSetEnabled(launcherBundleIdentifier, false));
    EXPECT_FALSE(QFileInfo::exists(entry()));
    EXPECT_TRUE(filesIn(autostart()).isEmpty()) << filesIn(autostart()).join(", ").toStdString();
    EXPECT_TRUE(SMLoginItemSetEnabled(launcherBundleIdentifier, false)) << "gone already";

    // A write that cannot be done leaves nothing behind either.
    ASSERT_TRUE(QDir().mkpath(entry() + "/in-the-way"));
    EXPECT_FALSE(enable());
    EXPECT_EQ(filesIn(autostart()), QStringList{QFileInfo(entry()).fileName()});
    EXPECT_FALSE(SMLoginItemSetEnabled(launcherBundleIdentifier, false)) << "still there";
}

TEST_F(LoginItem, WritesNothingWithoutAProgramOrForAPathAnEntryCannotHold) {
    setLoginItemProgramForTesting(QFile::encodeName(programs.path()).toStdString() + "/missing");
    EXPECT_FALSE(enable());
    const std::string notExecutable = makeProgram("plain");
    QFile::setPermissions(QFile::decodeName(notExecutable.c_str()),
                          QFile::ReadOwner | QFile::WriteOwner);
    setLoginItemProgramForTesting(notExecutable);
    EXPECT_FALSE(enable());
    EXPECT_FALSE(QFileInfo::exists(autostart()));

    // The search beside this program: the tests are built where no launcher is.
    const QString here = QCoreApplication::applicationDirPath();
    if (!QFileInfo::exists(here + "/vorelt-launcher") &&
        !QFileInfo::exists(here + "/../libexec/vorelt/vorelt-launcher")) {
        setLoginItemProgramForTesting({});
        EXPECT_FALSE(enable());
        EXPECT_FALSE(QFileInfo::exists(autostart()));
    }

    const std::string good = makeProgram("good/vorelt-launcher");
    setLoginItemProgramForTesting(good);
    ASSERT_TRUE(enable());
    const QByteArray before = readFile(entry());
    for (const std::string& name :
         {std::string("new\nline"), std::string("carriage\rreturn"), std::string("bell\a"),
          std::string("del\x7f"), std::string("latin1 \xE9t\xE9")}) {
        SCOPED_TRACE(name);
        const std::string program = makeProgram(name);
        setLoginItemProgramForTesting(program);
        EXPECT_FALSE(enable());
        EXPECT_EQ(readFile(entry()), before) << "the earlier entry stays as it was";
        EXPECT_EQ(filesIn(autostart()).size(), 1);
        // A name that is no UTF-8 is beyond QTemporaryDir's clean-up.
        ::unlink(program.c_str());
    }

    setLoginItemProgramForTesting(good);
    for (const std::string_view identifier :
         {applicationBundleIdentifier, std::string_view("io.github.vorelt.voreltlauncher"),
          std::string_view("../io.github.vorelt.VoreltLauncher"), std::string_view()}) {
        SCOPED_TRACE(identifier);
        EXPECT_FALSE(SMLoginItemSetEnabled(identifier, true));
        EXPECT_FALSE(SMLoginItemSetEnabled(identifier, false));
    }
    EXPECT_EQ(filesIn(autostart()), QStringList{QFileInfo(entry()).fileName()});
    EXPECT_EQ(readFile(entry()), before);
}

TEST_F(LoginItem, TestingServiceStandsInForTheWholeService) {
    setLoginItemProgramForTesting(makeProgram("vorelt-launcher"));
    std::vector<std::pair<std::string, bool>> calls;
    setLoginItemServiceForTesting([&](std::string_view identifier, bool enabled) {
        calls.emplace_back(identifier, enabled);
        return !enabled;
    });
    EXPECT_FALSE(enable());
    EXPECT_TRUE(SMLoginItemSetEnabled("anything", false));
    setLoginItemServiceForTesting({});
    EXPECT_EQ(calls, (std::vector<std::pair<std::string, bool>>{
                         {std::string(launcherBundleIdentifier), true}, {"anything", false}}));
    EXPECT_FALSE(QFileInfo::exists(autostart()));
    EXPECT_TRUE(enable()) << "the real service is back";
    EXPECT_TRUE(QFileInfo::exists(entry()));
}

}  // namespace
}  // namespace vorelt
