#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "model/Identifiers.h"
#include "platform/app/ServiceManagement.h"

using namespace vorelt;

using test::readFile;

// The Exec line of the program @/<name>/vorelt-launcher, @ standing for the programs folder: a
// path with a reserved character goes in double quotes, inside which " ` $ \ take a backslash;
// then, as in any string value, a backslash is doubled and a tab written \t; and a percent sign
// is doubled anywhere. A path the entry cannot hold writes nothing.
TEST(LoginItem, EveryLauncherPathIsQuotedAndEscapedIntoAValidEntryOrWritesNothing) {
    test::TemporaryConfigHome home;
    QTemporaryDir programs;
    const QString autostart = home.home() + "/autostart";
    const QString entry =
        autostart + "/" + QString::fromUtf8(launcherBundleIdentifier) + ".desktop";
    LoginItem item = launcherLoginItem();
    // Makes an executable file at `relative` below the programs folder the login item's program;
    // its path, as bytes, may hold bytes that are no UTF-8.
    const auto useProgram = [&programs, &item](const std::string& relative) {
        const std::filesystem::path path =
            std::filesystem::path(QFile::encodeName(programs.path()).toStdString()) / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "#!/bin/sh\n";
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        item.program = path.string();
        return path.string();
    };
    const auto enable = [&item] { return enableLoginItem(item); };

    item.program = programs.path().toStdString() + "/missing";
    EXPECT_FALSE(enable());
    std::filesystem::permissions(useProgram("plain"), std::filesystem::perms::owner_read);
    EXPECT_FALSE(enable());
    EXPECT_FALSE(QFileInfo::exists(autostart));

    std::vector<std::pair<std::string, QByteArray>> cases = {
        {"plain-name_1.2", "@/plain-name_1.2/vorelt-launcher"},
        {"äöü時計", "@/äöü時計/vorelt-launcher"},
        {"100%", "@/100%%/vorelt-launcher"},
        {R"("hi")", R"("@/\\"hi\\"/vorelt-launcher")"},
        {"$HOME", R"("@/\\$HOME/vorelt-launcher")"},
        {"`id`", R"("@/\\`id\\`/vorelt-launcher")"},
        {R"(back\slash)", R"("@/back\\\\slash/vorelt-launcher")"},
        {"tab\there", R"("@/tab\there/vorelt-launcher")"}};
    // Each of the other reserved characters needs the quotes alone.
    for (const char c : std::string_view(" '<>~|&;*?#()")) {
        cases.emplace_back(std::string("a") + c, "\"@/a" + QByteArray(1, c) + "/vorelt-launcher\"");
    }
    // A link in place of the entry is replaced, not written through.
    const QString victim = programs.path() + "/victim";
    QDir().mkpath(autostart);
    QFile::link(victim, entry);
    for (const auto& [name, line] : cases) {
        SCOPED_TRACE(name);
        useProgram(name + "/vorelt-launcher");
        ASSERT_TRUE(enable());
        const QByteArray exec = QByteArray(line).replace("@", programs.path().toUtf8());
        EXPECT_TRUE(readFile(entry).contains("\nExec=" + exec + "\n")) << readFile(entry).data();
        EXPECT_EQ(QProcess::execute("desktop-file-validate", {entry}), 0);
    }
    EXPECT_FALSE(QFileInfo::exists(victim));
    // The identifier names the entry's file, never a path.
    for (const char* identifier : {"", ".hidden", "../escape"}) {
        LoginItem misnamed = item;
        misnamed.identifier = identifier;
        EXPECT_FALSE(enableLoginItem(misnamed)) << identifier;
    }
    EXPECT_FALSE(QFileInfo::exists(home.home() + "/escape.desktop"));

    const QByteArray before = readFile(entry);
    // Control characters, and bytes that are no UTF-8.
    for (const std::string name :
         {"new\nline", "carriage\rreturn", "bell\a", "del\x7f", "latin1 \xE9t\xE9"}) {
        SCOPED_TRACE(name);
        const std::string program = useProgram(name);
        EXPECT_FALSE(enable());
        // A name that is no UTF-8 is beyond QTemporaryDir's clean-up.
        std::filesystem::remove(program);
    }
    EXPECT_EQ(readFile(entry), before) << "the earlier entry stays as it was";
    EXPECT_EQ(test::filesIn(autostart), QStringList{QFileInfo(entry).fileName()}) << "no temporary";
}
