#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/app/Workspace.h"

namespace vorelt {
namespace {

using test::readFile;
using test::TemporaryRuntimeDir;
using Identifiers = std::vector<std::string>;

Identifiers runningIdentifiers() {
    Identifiers identifiers;
    for (const auto& application : Workspace::sharedWorkspace()->runningApplications()) {
        identifiers.push_back(application->bundleIdentifier().value_or("(none)"));
    }
    return identifiers;
}

bool isListed(const std::string& identifier) {
    return std::ranges::count(runningIdentifiers(), identifier) > 0;
}

constexpr const char* kDisplay = "x11-:7";

// Another process that announces `identifier` on `display` and runs until it is killed, so that
// only the kernel can withdraw what it announced.
class AnnouncingProcess {
public:
    explicit AnnouncingProcess(const std::string& identifier,
                               const std::string& display = kDisplay) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            const bool got = (new Workspace)->announceRunningApplication(identifier, display);
            [[maybe_unused]] const ssize_t n = ::write(ready[1], got ? "1" : "0", 1);
            for (;;) {
                ::pause();
            }
        }
        ::close(ready[1]);
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1) << "the child did not get to announce";
        announced_ = byte == '1';
        ::close(ready[0]);
    }
    ~AnnouncingProcess() { end(); }
    pid_t pid() const { return pid_; }
    // What announcing told the child.
    bool announced() const { return announced_; }
    void end() {
        if (pid_ > 0 && ::kill(pid_, SIGKILL) == 0) {
            int status = 0;
            EXPECT_EQ(::waitpid(pid_, &status, 0), pid_);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "it ran until then";
        }
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    bool announced_ = false;
};

TEST(Workspace, AnotherProcessIsListedWhileItRunsAndNoSecondCanTakeItsIdentifierOver) {
    TemporaryRuntimeDir runtime;
    const std::string identifier = "io.example.Child";
    const QString lock = runtime.lockPath("io.example.Child", kDisplay);
    EXPECT_FALSE(isListed(identifier));
    AnnouncingProcess first(identifier);
    AnnouncingProcess second(identifier);
    EXPECT_TRUE(first.announced());
    EXPECT_FALSE(second.announced()) << "the second start must learn that it is not wanted";
    EXPECT_EQ(runningIdentifiers(), Identifiers{identifier});
    EXPECT_EQ(readFile(lock), QByteArray::number(first.pid()) + "\n");

    first.end();
    // The second process still runs, but it never held the identifier.
    EXPECT_FALSE(isListed(identifier)) << "a file whose lock is free belongs to nobody";
    EXPECT_TRUE(QFileInfo::exists(lock));

    // The file left behind is taken over by the next announcement.
    Workspace workspace;
    EXPECT_TRUE(workspace.announceRunningApplication(identifier, kDisplay));
    EXPECT_TRUE(isListed(identifier));
    EXPECT_EQ(readFile(lock), QByteArray::number(::getpid()) + "\n");
}

TEST(Workspace, AnIdentifierRunsOncePerDisplayAndIsListedOnceForAllOfThem) {
    TemporaryRuntimeDir runtime;
    const std::string identifier = "io.example.Clock";
    AnnouncingProcess onSeven(identifier, "x11-:7");
    ASSERT_TRUE(onSeven.announced());

    Workspace workspace;
    EXPECT_FALSE(workspace.announceRunningApplication(identifier, "x11-:7"));
    EXPECT_TRUE(workspace.announceRunningApplication("io.example.Other", "x11-:7"));
    EXPECT_TRUE(workspace.announceRunningApplication(identifier, "x11-:8"));
    EXPECT_TRUE(workspace.announceRunningApplication(identifier, "wayland-/run/user/1/wayland-0"));
    EXPECT_TRUE(workspace.announceRunningApplication(identifier, "x11-:8")) << "its own, again";
    EXPECT_EQ(runningIdentifiers(), (Identifiers{identifier, "io.example.Other"}));

    // A clock on standard output feeds its own reader: each one runs.
    AnnouncingProcess headless(identifier, "headless-1");
    EXPECT_TRUE(headless.announced());
    EXPECT_TRUE(workspace.announceRunningApplication(identifier, "headless-2"));
    EXPECT_TRUE(workspace.announceRunningApplication(identifier));
    EXPECT_EQ(Workspace::currentDisplay(), "headless-" + std::to_string(::getpid()))
        << "the tests run offscreen";

    onSeven.end();
    EXPECT_TRUE(workspace.announceRunningApplication(identifier, "x11-:7")) << "free again";
}

TEST(Workspace, OwnAnnouncementsAreListedExactlyAsAnnouncedUntilWithdrawn) {
    TemporaryRuntimeDir runtime;
    {
        Workspace workspace;
        workspace.announceRunningApplication("io.example.Clock");
        workspace.announceRunningApplication("io.example.Clock");  // again: nothing changes
        workspace.announceRunningApplication("Ünïcode App 2");
        EXPECT_EQ(runningIdentifiers(), (Identifiers{"io.example.Clock", "Ünïcode App 2"}));

        Workspace other;
        other.announceRunningApplication("io.example.clock");
        EXPECT_EQ(runningIdentifiers(),
                  (Identifiers{"io.example.Clock", "io.example.clock", "Ünïcode App 2"}));
    }
    EXPECT_TRUE(runningIdentifiers().empty());
    EXPECT_EQ(test::filesIn(runtime.path() + "/vorelt"), QStringList())
        << "a headless display's folder goes with its process";
    const QFileInfo folder(runtime.path() + "/vorelt");
    EXPECT_TRUE(folder.isDir());
    EXPECT_EQ(folder.permissions() &
                  (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
              QFile::Permissions());
}

TEST(Workspace, IdentifiersThatAreNoFileNameAreNotAnnounced) {
    TemporaryRuntimeDir runtime;
    Workspace workspace;
    for (const std::string& identifier :
         {std::string(), std::string("a/b"), std::string("../escape"), std::string(".hidden"),
          std::string("."), std::string(300, 'x'), std::string("nul\0byte", 8)}) {
        EXPECT_TRUE(workspace.announceRunningApplication(identifier)) << "no reason not to run";
    }
    EXPECT_TRUE(workspace.announceRunningApplication("io.example.Clock", ".."));
    EXPECT_TRUE(runningIdentifiers().empty());
    QStringList beside = test::filesIn(runtime.path());
    beside.removeAll("vorelt");
    EXPECT_EQ(beside, QStringList());
    EXPECT_EQ(test::filesIn(runtime.path() + "/vorelt"), QStringList());
}

TEST(Workspace, WithoutAUsableRuntimeFolderAnnouncementsGoToAPrivateFolderInTmp) {
    const QString fallback = "/tmp/vorelt-" + QString::number(::getuid());
    const std::string identifier = "io.example.Fallback-" + std::to_string(::getpid());
    const QString lock = fallback + "/vorelt/" +
                         QString::fromStdString(Workspace::currentDisplay()) + "/" +
                         QString::fromStdString(identifier) + ".lock";
    TemporaryRuntimeDir runtime;
    const QString notAFolder = runtime.path() + "/file";
    ASSERT_TRUE(QFile(notAFolder).open(QIODevice::WriteOnly));
    for (const QByteArray& value : {QByteArray(), QByteArray("relative"), notAFolder.toUtf8()}) {
        SCOPED_TRACE(value.isNull() ? "unset" : value.constData());
        value.isNull() ? qunsetenv("XDG_RUNTIME_DIR") : qputenv("XDG_RUNTIME_DIR", value);
        {
            Workspace workspace;
            EXPECT_TRUE(workspace.announceRunningApplication(identifier));
            EXPECT_TRUE(isListed(identifier));
            EXPECT_TRUE(QFileInfo::exists(lock));
            struct stat info = {};
            ASSERT_EQ(::lstat(QFile::encodeName(fallback).constData(), &info), 0);
            EXPECT_TRUE(S_ISDIR(info.st_mode));
            EXPECT_EQ(info.st_mode & 0777, 0700u);
            EXPECT_EQ(info.st_uid, ::getuid());
        }
        EXPECT_FALSE(isListed(identifier));
        QFile::remove(lock);
        // The programs give the toolkit the same folder, so that it has nothing to complain about.
        Workspace::ensureRuntimeDirectory();
        EXPECT_EQ(qgetenv("XDG_RUNTIME_DIR"), fallback.toUtf8());
    }
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    Workspace::ensureRuntimeDirectory();
    EXPECT_EQ(qgetenv("XDG_RUNTIME_DIR"), runtime.path().toUtf8()) << "a usable one is kept";
}

TEST(Workspace, LaunchesAProgramDetachedAndWithoutAShell) {
    QTemporaryDir dir;
    // A shell would run the command substitution in the name.
    const QString folder = dir.path() + "/it's $(touch pwned) `touch pwned` x";
    ASSERT_TRUE(QDir().mkpath(folder));
    const std::string program = QFile::encodeName(folder + "/program").toStdString();
    std::ofstream(program) << "#!/bin/sh\necho \"$# $PPID\" > \"${0%/*}/ran.tmp\"\n"
                              "mv \"${0%/*}/ran.tmp\" \"${0%/*}/ran\"\n";
    const std::string plain = QFile::encodeName(dir.path() + "/plain").toStdString();
    std::ofstream(plain) << "#!/bin/sh\n";
    ::chmod(program.c_str(), 0700);

    const auto workspace = Workspace::sharedWorkspace();
    ASSERT_TRUE(workspace->launchApplicationAtPath(program));
    ASSERT_TRUE(test::waitFor([&] { return QFileInfo::exists(folder + "/ran"); }));
    const QList<QByteArray> ran = readFile(folder + "/ran").trimmed().split(' ');
    ASSERT_EQ(ran.size(), 2);
    EXPECT_EQ(ran[0], "0") << "no arguments";
    EXPECT_NE(ran[1].toLongLong(), static_cast<long long>(::getpid())) << "not our child";
    EXPECT_FALSE(QFileInfo::exists("pwned"));
    EXPECT_FALSE(QFileInfo::exists(folder + "/pwned"));

    EXPECT_FALSE(Workspace::isExecutableFileAtPath(QFile::encodeName(dir.path()).toStdString()));
    EXPECT_FALSE(workspace->launchApplicationAtPath(dir.path().toStdString() + "/missing"));
    EXPECT_FALSE(workspace->launchApplicationAtPath(plain));
}

}  // namespace
}  // namespace vorelt
