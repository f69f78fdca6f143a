#include <gtest/gtest.h>

#include <QProcess>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/app/Workspace.h"

using namespace vorelt;

using Identifiers = std::vector<std::string>;

static Identifiers runningIdentifiers(std::optional<std::string_view> display = std::nullopt) {
    const auto workspace = Workspace::sharedWorkspace();
    Identifiers identifiers;
    for (const auto& application :
         display ? workspace->runningApplications(*display) : workspace->runningApplications()) {
        identifiers.push_back(application->bundleIdentifier().value_or("(none)"));
    }
    return identifiers;
}

TEST(Workspace, AnotherProcessHoldsItsIdentifierOnItsDisplayUntilItIsKilled) {
    test::TemporaryRuntimeDir runtime;
    const std::string identifier = "io.example.Clock";
    // Another process holds the lock of the identifier's file as a clock on display :7 does, until
    // it is killed: then only the kernel can let go of it.
    const QString folder = runtime.path() + "/vorelt/x11-:7";
    ASSERT_TRUE(QDir().mkpath(folder));
    QProcess other;
    other.start("flock", {"--no-fork", folder + "/io.example.Clock.lock", "sleep", "60"});
    ASSERT_TRUE(test::waitFor([&] { return !runningIdentifiers("x11-:7").empty(); }));

    Workspace workspace;
    EXPECT_FALSE(workspace.announceRunningApplication(identifier, "x11-:7")) << "not wanted there";
    EXPECT_TRUE(workspace.announceRunningApplication(identifier, "x11-:8")) << "another display's";
    // The display comes from $DISPLAY: one that is no file name announces nothing.
    EXPECT_TRUE(workspace.announceRunningApplication(identifier, ".."));
    EXPECT_EQ(runningIdentifiers(), Identifiers{identifier}) << "once for all displays";
    other.kill();
    ASSERT_TRUE(other.waitForFinished());
    EXPECT_EQ(runningIdentifiers("x11-:7"), Identifiers()) << "the file left behind is nobody's";
    EXPECT_TRUE(workspace.announceRunningApplication(identifier, "x11-:7"));
    Workspace second;
    EXPECT_FALSE(second.announceRunningApplication(identifier, "x11-:7"));
    // Each clock on standard output feeds its own reader: its display is its own.
    EXPECT_EQ(Workspace::currentDisplay(), "headless-" + std::to_string(::getpid()));
    EXPECT_EQ(test::filesIn(runtime.path()), QStringList{"vorelt"}) << "nothing escaped";
}

TEST(Workspace, WithoutAUsableRuntimeFolderAnnouncementsGoToAPrivateFolderInTmp) {
    const std::string fallback = "/tmp/vorelt-" + std::to_string(::getuid());
    const std::string identifier = "io.example.Fallback-" + std::to_string(::getpid());
    const auto listed = [&] { return std::ranges::count(runningIdentifiers(), identifier); };
    test::TemporaryRuntimeDir runtime;
    // This user's own file, which is no folder.
    const QByteArray file = QCoreApplication::applicationFilePath().toUtf8();
    for (const QByteArray& value : {QByteArray(), QByteArray("relative"), file}) {
        SCOPED_TRACE(value.isNull() ? "unset" : value.constData());
        value.isNull() ? qunsetenv("XDG_RUNTIME_DIR") : qputenv("XDG_RUNTIME_DIR", value);
        {
            Workspace workspace;
            EXPECT_TRUE(workspace.announceRunningApplication(identifier));
            EXPECT_EQ(listed(), 1);
            // Others can write to /tmp: the folder must be this user's alone, and no link.
            struct stat info = {};
            ASSERT_EQ(::lstat(fallback.c_str(), &info), 0);
            EXPECT_EQ(info.st_mode, S_IFDIR | 0700u);
            EXPECT_EQ(info.st_uid, ::getuid());
        }
        EXPECT_EQ(listed(), 0);
    }
    // The programs give the toolkit the fallback too; a usable folder is kept.
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    Workspace::ensureRuntimeDirectory();
    EXPECT_EQ(qgetenv("XDG_RUNTIME_DIR"), runtime.path().toUtf8());
}
