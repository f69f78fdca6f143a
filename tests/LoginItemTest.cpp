#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "model/Identifiers.h"
#include "platform/app/ServiceManagement.h"
#include "support/DesktopEntry.h"

namespace vorelt {
namespace {

using namespace std::literals;
using test::Arguments;
using test::execArguments;
using test::filesIn;
using test::readFile;

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
