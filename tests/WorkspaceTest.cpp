#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/Workspace.h"

namespace vorelt {
namespace {

// A runtime folder of its own for one test, as a session's $XDG_RUNTIME_DIR is.
class TemporaryRuntimeDir {
public:
    TemporaryRuntimeDir() : previous_(qgetenv("XDG_RUNTIME_DIR")) {
        QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir_.path().toUtf8());
    }
    ~TemporaryRuntimeDir() {
        if (previous_.isNull()) {
            qunsetenv("XDG_RUNTIME_DIR");
        } else {
            qputenv("XDG_RUNTIME_DIR", previous_);
        }
    }
    QString path() const { return dir_.path(); }
    QString lockPath(const QString& identifier) const {
        return dir_.path() + "/vorelt/" + identifier + ".lock";
    }

private:
    QTemporaryDir dir_;
    QByteArray previous_;
};

std::vector<std::string> runningIdentifiers() {
    std::vector<std::string> identifiers;
    for (const auto& application : Workspace::sharedWorkspace()->runningApplications()) {
        identifiers.push_back(application->bundleIdentifier().value_or("(none)"));
    }
    return identifiers;
}

bool isListed(const std::string& identifier) {
    const auto identifiers = runningIdentifiers();
    return std::find(identifiers.begin(), identifiers.end(), identifier) != identifiers.end();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Another process that tries to announce `identifier` and then runs until it is told to end. It
// ends with _exit, so only the kernel can withdraw what it announced.
class AnnouncingProcess {
public:
    explicit AnnouncingProcess(const std::string& identifier) {
        int ready[2];
        int hold[2];
        EXPECT_EQ(::pipe2(ready, O_CLOEXEC), 0);
        EXPECT_EQ(::pipe2(hold, O_CLOEXEC), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(hold[1]);
            // Another child's end must not keep that child alive.
            for (const int fd : heldEnds()) {
                ::close(fd);
            }
            auto* workspace = new Workspace;
            workspace->announceRunningApplication(identifier);
            char byte = 1;
            [[maybe_unused]] ssize_t n = ::write(ready[1], &byte, 1);
            n = ::read(hold[0], &byte, 1);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(hold[0]);
        hold_ = hold[1];
        heldEnds().push_back(hold_);
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1) << "the child did not get to announce";
        ::close(ready[0]);
    }
    ~AnnouncingProcess() { end(); }
    pid_t pid() const { return pid_; }
    void end() {
        if (hold_ < 0) {
            return;
        }
        ::close(hold_);
        std::erase(heldEnds(), hold_);
        hold_ = -1;
        int status = 0;
        EXPECT_EQ(::waitpid(pid_, &status, 0), pid_);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

private:
    // The ends through which the children still running are held.
    static std::vector<int>& heldEnds() {
        static std::vector<int> ends;
        return ends;
    }

    pid_t pid_ = -1;
    int hold_ = -1;
};

TEST(Workspace, AnotherProcessIsListedWhileItRunsAndNotAfterItEnds) {
    TemporaryRuntimeDir runtime;
    const std::string identifier = "io.example.Child";
    EXPECT_FALSE(isListed(identifier));
    AnnouncingProcess child(identifier);
    EXPECT_EQ(runningIdentifiers(), std::vector<std::string>{identifier});
    EXPECT_EQ(readFile(runtime.lockPath("io.example.Child")),
              QByteArray::number(child.pid()) + "\n");

    child.end();
    EXPECT_TRUE(QFileInfo::exists(runtime.lockPath("io.example.Child")));
    EXPECT_FALSE(isListed(identifier)) << "a file whose lock is free belongs to nobody";

    // The file left behind is taken over by the next announcement.
    Workspace workspace;
    workspace.announceRunningApplication(identifier);
    EXPECT_TRUE(isListed(identifier));
    EXPECT_EQ(readFile(runtime.lockPath("io.example.Child")),
              QByteArray::number(::getpid()) + "\n");
}

TEST(Workspace, ASecondProcessCannotTakeOverARunningIdentifier) {
    TemporaryRuntimeDir runtime;
    const std::string identifier = "io.example.Clock";
    AnnouncingProcess first(identifier);
    AnnouncingProcess second(identifier);
    EXPECT_EQ(readFile(runtime.lockPath("io.example.Clock")),
              QByteArray::number(first.pid()) + "\n");
    first.end();
    // The second process is still running, but it never held the identifier.
    EXPECT_FALSE(isListed(identifier));
}

TEST(Workspace, OwnAnnouncementsAreListedExactlyAsAnnouncedUntilWithdrawn) {
    TemporaryRuntimeDir runtime;
    {
        Workspace workspace;
        workspace.announceRunningApplication("io.example.Clock");
        workspace.announceRunningApplication("io.example.Clock");  // again: nothing changes
        workspace.announceRunningApplication("Ünïcode App 2");
        EXPECT_EQ(runningIdentifiers(),
                  (std::vector<std::string>{"io.example.Clock", "Ünïcode App 2"}));
        EXPECT_FALSE(isListed("io.example.clock"));
        EXPECT_FALSE(isListed("io.example"));

        Workspace other;
        other.announceRunningApplication("io.example.clock");
        EXPECT_EQ(
            runningIdentifiers(),
            (std::vector<std::string>{"io.example.Clock", "io.example.clock", "Ünïcode App 2"}));
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
    QStringList beside =
        QDir(runtime.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    beside.removeAll("vorelt");
    EXPECT_TRUE(beside.isEmpty()) << beside.join(", ").toStdString();
    const QStringList inside =
        QDir(runtime.path() + "/vorelt")
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    EXPECT_TRUE(inside.isEmpty()) << inside.join(", ").toStdString();
}

TEST(Workspace, WithoutAUsableRuntimeFolderAnnouncementsGoToAPrivateFolderInTmp) {
    const QString fallback = "/tmp/vorelt-" + QString::number(::getuid());
    const std::string identifier = "io.example.Fallback-" + std::to_string(::getpid());
    const QString lock = fallback + "/" + QString::fromStdString(identifier) + ".lock";
    QTemporaryDir scratch;
    QFile notAFolder(scratch.path() + "/file");
    ASSERT_TRUE(notAFolder.open(QIODevice::WriteOnly));
    TemporaryRuntimeDir runtime;
    for (const QByteArray& value :
         {QByteArray(), QByteArray("relative/runtime"), notAFolder.fileName().toUtf8()}) {
        SCOPED_TRACE(value.isNull() ? "unset" : value.constData());
        if (value.isNull()) {
            qunsetenv("XDG_RUNTIME_DIR");
        } else {
            qputenv("XDG_RUNTIME_DIR", value);
        }
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
    const QString program = folder + "/program";
    {
        QFile script(program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(
            "#!/bin/sh\necho \"$# $PPID\" > \"${0%/*}/ran.tmp\"\n"
            "mv \"${0%/*}/ran.tmp\" \"${0%/*}/ran\"\n");
    }
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const auto workspace = Workspace::sharedWorkspace();
    ASSERT_TRUE(workspace->launchApplicationAtPath(QFile::encodeName(program).toStdString()));
    ASSERT_TRUE(test::waitFor([&] { return QFileInfo::exists(folder + "/ran"); }));
    const QList<QByteArray> ran = readFile(folder + "/ran").trimmed().split(' ');
    ASSERT_EQ(ran.size(), 2);
    EXPECT_EQ(ran[0], "0") << "no arguments";
    EXPECT_NE(ran[1].toLongLong(), static_cast<long long>(::getpid())) << "not our child";
    EXPECT_FALSE(QFileInfo::exists("pwned"));
    EXPECT_FALSE(QFileInfo::exists(folder + "/pwned"));

    QFile plain(dir.path() + "/not-executable");
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("#!/bin/sh\n");
    plain.close();
    EXPECT_FALSE(
        Workspace::isExecutableFileAtPath(QFile::encodeName(plain.fileName()).toStdString()));
    EXPECT_FALSE(Workspace::isExecutableFileAtPath(QFile::encodeName(dir.path()).toStdString()));
    EXPECT_TRUE(Workspace::isExecutableFileAtPath(QFile::encodeName(program).toStdString()));
    EXPECT_FALSE(workspace->launchApplicationAtPath((dir.path() + "/missing").toStdString()));
    EXPECT_FALSE(workspace->launchApplicationAtPath(plain.fileName().toStdString()));
}

}  // namespace
}  // namespace vorelt
