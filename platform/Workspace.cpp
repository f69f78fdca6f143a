#include "platform/Workspace.h"

#include "platform/DesktopSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <map>
#include <thread>

namespace vorelt {

namespace {

constexpr std::string_view kLockSuffix = ".lock";
// How often announcing tries again while only listers hold the lock, a millisecond apart.
constexpr int kAnnounceAttempts = 200;

// An identifier makes a file name of its own: no path separator, not hidden, not too long.
bool isFileNameIdentifier(std::string_view identifier) {
    return !identifier.empty() && identifier.front() != '.' &&
           identifier.find('/') == std::string_view::npos &&
           identifier.find('\0') == std::string_view::npos &&
           identifier.size() + kLockSuffix.size() <= NAME_MAX;
}

// A folder only this user can write to, and not a link that could lead elsewhere.
bool isPrivateFolder(const std::string& path) {
    struct stat info = {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The folder of the announcements, the same for announcing and listing. Empty when there is none.
std::string announcementFolder(bool create) {
    std::string folder;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info = {};
    if (runtime != nullptr && runtime[0] == '/' && ::stat(runtime, &info) == 0 &&
        S_ISDIR(info.st_mode) && ::access(runtime, W_OK | X_OK) == 0) {
        folder = std::string(runtime) + "/vorelt";
    } else {
        folder = "/tmp/vorelt-" + std::to_string(::getuid());
    }
    if (create) {
        ::mkdir(folder.c_str(), 0700);
    }
    return isPrivateFolder(folder) ? folder : std::string();
}

// Takes the exclusive lock. Listers hold a shared lock for a moment, which is waited out; a
// process that holds the exclusive lock is not.
bool lockExclusively(int fd) {
    for (int attempt = 0; attempt < kAnnounceAttempts; ++attempt) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return false;
        }
        if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK) {
                return false;
            }
        } else {
            ::flock(fd, LOCK_UN);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// True when some process holds the file's exclusive lock.
bool isHeld(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat info = {};
    bool held = false;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        if (::flock(fd, LOCK_SH | LOCK_NB) == 0) {
            ::flock(fd, LOCK_UN);
        } else {
            held = errno == EWOULDBLOCK;
        }
    }
    ::close(fd);
    return held;
}

std::function<std::vector<std::shared_ptr<RunningApplication>>()>& runningApplicationsStandIn() {
    static std::function<std::vector<std::shared_ptr<RunningApplication>>()> list;
    return list;
}

std::function<bool(const URL&)>& urlOpenerStandIn() {
    static std::function<bool(const URL&)> opener;
    return opener;
}

bool startDetached(const std::vector<std::string>& command) {
    if (command.empty()) {
        return false;
    }
    QStringList arguments;
    for (auto it = command.begin() + 1; it != command.end(); ++it) {
        arguments << QString::fromStdString(*it);
    }
    return QProcess::startDetached(QString::fromStdString(command.front()), arguments);
}

}  // namespace

struct Workspace::Impl {
    // The locked file descriptor of each announced identifier.
    std::map<std::string, int, std::less<>> announcements;

    ~Impl() {
        for (const auto& [identifier, fd] : announcements) {
            ::close(fd);
        }
    }
};

std::shared_ptr<Workspace> Workspace::sharedWorkspace() {
    static const auto workspace = std::make_shared<Workspace>();
    return workspace;
}

Workspace::Workspace() : d(std::make_unique<Impl>()) {}

Workspace::~Workspace() = default;

std::vector<std::shared_ptr<RunningApplication>> Workspace::runningApplications() {
    if (const auto& standIn = runningApplicationsStandIn()) {
        return standIn();
    }
    std::vector<std::string> identifiers;
    const std::string folder = announcementFolder(false);
    if (folder.empty()) {
        return {};
    }
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name = entry->d_name;
            if (!name.ends_with(kLockSuffix)) {
                continue;
            }
            const std::string_view identifier = name.substr(0, name.size() - kLockSuffix.size());
            if (isFileNameIdentifier(identifier) && isHeld(folder + "/" + std::string(name))) {
                identifiers.emplace_back(identifier);
            }
        }
        ::closedir(dir);
    }
    std::sort(identifiers.begin(), identifiers.end());
    std::vector<std::shared_ptr<RunningApplication>> applications;
    applications.reserve(identifiers.size());
    for (auto& identifier : identifiers) {
        applications.push_back(std::make_shared<RunningApplication>(std::move(identifier)));
    }
    return applications;
}

void Workspace::announceRunningApplication(std::string_view bundleIdentifier) {
    if (!isFileNameIdentifier(bundleIdentifier) || d->announcements.contains(bundleIdentifier)) {
        return;
    }
    const std::string folder = announcementFolder(true);
    if (folder.empty()) {
        return;
    }
    const std::string path =
        folder + "/" + std::string(bundleIdentifier) + std::string(kLockSuffix);
    // Not truncated on opening: the file may belong to a running process until the lock is ours.
    // Closed on exec, so that the programs this one starts do not hold its announcement.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return;
    }
    if (!lockExclusively(fd)) {
        ::close(fd);
        return;
    }
    // The process id, for people and scripts; the lock alone decides what runs.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t written = ::pwrite(fd, pid.data(), pid.size(), 0);
    }
    d->announcements.emplace(bundleIdentifier, fd);
}

bool Workspace::launchApplicationAtPath(const std::string& path) {
    // An argument vector: the path is never seen by a shell.
    return QProcess::startDetached(QFile::decodeName(path.c_str()), {});
}

bool Workspace::openURL(const URL& url) {
    if (const auto& standIn = urlOpenerStandIn()) {
        return standIn(url);
    }
    if (url.absoluteString() == DesktopSettings::dateTimeURL) {
        return startDetached(DesktopSettings::dateTimeCommand());
    }
    const QString opener = QStandardPaths::findExecutable("xdg-open");
    return !opener.isEmpty() && startDetached({opener.toStdString(), url.absoluteString()});
}

void Workspace::setRunningApplicationsForTesting(
    std::function<std::vector<std::shared_ptr<RunningApplication>>()> list) {
    runningApplicationsStandIn() = std::move(list);
}

void Workspace::setURLOpenerForTesting(std::function<bool(const URL&)> opener) {
    urlOpenerStandIn() = std::move(opener);
}

std::string Workspace::applicationDirectoryPath() {
    if (QCoreApplication::instance() != nullptr) {
        return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    }
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || length >= static_cast<ssize_t>(sizeof buffer)) {
        return {};
    }
    const std::string file(buffer, static_cast<std::size_t>(length));
    const auto slash = file.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    return slash == 0 ? "/" : file.substr(0, slash);
}

bool Workspace::isExecutableFileAtPath(const std::string& path) {
    struct stat info = {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

}  // namespace vorelt
