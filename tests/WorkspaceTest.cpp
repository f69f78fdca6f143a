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
#include "platform/Workspace.h"

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

// Another process that announces `identifier` and runs until it is killed, so that only the
// kernel can withdraw what it announced.
class AnnouncingProcess {
public:
    explicit AnnouncingProcess(const std::string& identifier) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            (new Workspace)->announceRunningApplication(identifier);
            [[maybe_unused]] const ssize_t n = ::write(ready[1], "", 1);
            for (;;) {
                ::pause();
            }
        }
        ::close(ready[1]);
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1) << "the child did not get to announce";
        ::close(ready[0]);
    }
    ~AnnouncingProcess() { end(); }
    pid_t pid() const { return pid_; }
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
};

TEST(Workspace, AnotherProcessIsListedWhileItRunsAndNoSecondCanTakeItsIdentifierOver) {
    TemporaryRuntimeDir runtime;
    const std::string identifier = "io.example.Child";
    const QString lock = runtime.lockPath("io.example.Child");
    EXPECT_FALSE(isListed(identifier));
    AnnouncingProcess first(identifier);
    AnnouncingProcess second(identifier);
    EXPECT_EQ(runningIdentifiers(), Identifiers{identifier});
    EXPECT_EQ(readFile(lock), QByteArray::number(first.pid()) + "\n");

    first.end();
    // The second process still runs, but it never held the identifier.
    EXPECT_FALSE(isListed(identifier)) << "a file whose lock is free belongs to nobody";
    EXPECT_TRUE(QFileInfo::exists(lock));

    // The file left behind is taken over by the next announcement.
    Workspace workspace;
    workspace.announceRunningApplication(identifier);
    EXPECT_TRUE(isListed(identifier));
    EXPECT_EQ(readFile(lock), QByteArray::number(::getpid()) + "\n");
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
        workspace.announceRunningApplication(identifier);
    }
    EXPECT_TRUE(runningIdentifiers().empty());
    QStringList beside = test::filesIn(runtime.path());
    beside.removeAll("vorelt");
    EXPECT_EQ(beside, QStringList());
    EXPECT_EQ(test::filesIn(runtime.path() + "/vorelt"), QStringList());
}

TEST(Workspace, WithoutAUsableRuntimeFolderAnnouncementsGoToAPrivateFolderInTmp) {
    const QString fallback = "/tmp/vorelt-" + QString::number(::getuid());
    const std::string identifier = "io.example.Fallback-" + std::to_string(::getpid());
    const QString lock = fallback + "/" + QString::fromStdString(identifier) + ".lock";
    TemporaryRuntimeDir runtime;
    const QString notAFolder = runtime.path() + "/file";
    ASSERT_TRUE(QFile(notAFolder).open(QIODevice::WriteOnly));
    for (const QByteArray& value : {QByteArray(), QByteArray("relative"), notAFolder.toUtf8()}) {
        SCOPED_TRACE(value.isNull() ? "unset" : value.constData());
        value.isNull() ? qunsetenv("XDG_RUNTIME_DIR") : qputenv("XDG_RUNTIME_DIR", value);
        {
            Workspace workspace;
            workspace.announceRunningApplication(identifier);
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
    }
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
