#include "platform/app/Workspace.h"

#include "platform/app/DesktopSettings.h"
#include "platform/foundation/FileDescriptor.h"
#include "platform/foundation/Identity.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
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
#include <memory>
#include <set>
#include <thread>
#include <utility>

namespace vorelt {

namespace {

constexpr std::string_view kLockSuffix = ".lock";
constexpr std::string_view kHeadlessPrefix = "headless-";
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

// The session's runtime folder, or none when it is unset or cannot be used.
const char* usableRuntimeDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info = {};
    if (runtime != nullptr && runtime[0] == '/' && ::stat(runtime, &info) == 0 &&
        S_ISDIR(info.st_mode) && ::access(runtime, W_OK | X_OK) == 0) {
        return runtime;
    }
    return nullptr;
}

std::string privateRuntimeDirectory() {
    return "/tmp/" + Identity::current().name + "-" + std::to_string(::getuid());
}

// The folder of the announcements, the same for announcing and listing. Empty when there is none.
std::string announcementFolder(bool create) {
    const char* runtime = usableRuntimeDirectory();
    const std::string parent =
        runtime != nullptr ? std::string(runtime) : privateRuntimeDirectory();
    const std::string folder = parent + "/" + Identity::current().name;
    if (create) {
        if (runtime == nullptr) {
            ::mkdir(parent.c_str(), 0700);
        }
        ::mkdir(folder.c_str(), 0700);
    }
    return isPrivateFolder(folder) ? folder : std::string();
}

// The folder of a display's announcements, in the announcement folder: its key, with the path
// separators that a Wayland socket path may hold replaced.
std::string displayFolderName(std::string_view display) {
    std::string name(display);
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
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
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (!fd) {
        return false;
    }
    struct stat info = {};
    bool held = false;
    if (::fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode)) {
        if (::flock(fd.get(), LOCK_SH | LOCK_NB) == 0) {
            ::flock(fd.get(), LOCK_UN);
        } else {
            held = errno == EWOULDBLOCK;
        }
    }
    return held;
}

// An open folder, closed when its owner goes.
struct CloseDirectory {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using Directory = std::unique_ptr<DIR, CloseDirectory>;

Directory openDirectory(const std::string& path) {
    return Directory(::opendir(path.c_str()));
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
    struct Announcement {
        FileDescriptor fd;
        std::string folder;
        std::string path;
    };
    // The locked file of each announced display and identifier.
    std::map<std::pair<std::string, std::string>, Announcement> announcements;
    RunningList standIn;

    ~Impl() {
        for (const auto& [key, announcement] : announcements) {
            // A headless display belongs to this process alone, so nobody else can be opening
            // its file; without this every status line ever started would leave a folder behind.
            if (key.first.starts_with(kHeadlessPrefix)) {
                ::unlink(announcement.path.c_str());
                ::rmdir(announcement.folder.c_str());
            }
        }
    }
};

std::shared_ptr<Workspace> Workspace::sharedWorkspace() {
    static const auto workspace = std::make_shared<Workspace>();
    return workspace;
}

Workspace::Workspace() : d(std::make_unique<Impl>()) {}

Workspace::Workspace(RunningList runningApplications) : Workspace() {
    d->standIn = std::move(runningApplications);
}

Workspace::~Workspace() = default;

std::vector<std::shared_ptr<RunningApplication>> Workspace::runningApplications() {
    return listRunning(std::nullopt);
}

std::vector<std::shared_ptr<RunningApplication>> Workspace::runningApplications(
    std::string_view display) {
    return listRunning(display);
}

std::vector<std::shared_ptr<RunningApplication>> Workspace::listRunning(
    std::optional<std::string_view> display) {
    if (d->standIn) {
        return d->standIn();
    }
    std::set<std::string> identifiers;
    const std::string folder = announcementFolder(false);
    if (folder.empty()) {
        return {};
    }
    std::vector<std::string> displayFolders;
    if (display) {
        const std::string path = folder + "/" + displayFolderName(*display);
        if (isPrivateFolder(path)) {
            displayFolders.push_back(path);
        }
    } else if (const Directory dir = openDirectory(folder)) {
        while (const dirent* entry = ::readdir(dir.get())) {
            const std::string_view name = entry->d_name;
            if (name != "." && name != ".." && isPrivateFolder(folder + "/" + std::string(name))) {
                displayFolders.push_back(folder + "/" + std::string(name));
            }
        }
    }
    for (const std::string& displayFolder : displayFolders) {
        const Directory dir = openDirectory(displayFolder);
        if (!dir) {
            continue;
        }
        while (const dirent* entry = ::readdir(dir.get())) {
            const std::string_view name = entry->d_name;
            if (!name.ends_with(kLockSuffix)) {
                continue;
            }
            const std::string_view identifier = name.substr(0, name.size() - kLockSuffix.size());
            if (isFileNameIdentifier(identifier) &&
                isHeld(displayFolder + "/" + std::string(name))) {
                identifiers.emplace(identifier);
            }
        }
    }
    std::vector<std::shared_ptr<RunningApplication>> applications;
    applications.reserve(identifiers.size());
    for (auto& identifier : identifiers) {
        applications.push_back(std::make_shared<RunningApplication>(std::move(identifier)));
    }
    return applications;
}

bool Workspace::announceRunningApplication(std::string_view bundleIdentifier) {
    return announceRunningApplication(bundleIdentifier, currentDisplay());
}

bool Workspace::announceRunningApplication(std::string_view bundleIdentifier,
                                           std::string_view display) {
    std::pair<std::string, std::string> key(display, bundleIdentifier);
    const std::string displayName = displayFolderName(display);
    if (!isFileNameIdentifier(bundleIdentifier) || !isFileNameIdentifier(displayName) ||
        d->announcements.contains(key)) {
        return true;
    }
    const std::string top = announcementFolder(true);
    if (top.empty()) {
        return true;
    }
    const std::string folder = top + "/" + displayName;
    ::mkdir(folder.c_str(), 0700);
    if (!isPrivateFolder(folder)) {
        return true;
    }
    const std::string path =
        folder + "/" + std::string(bundleIdentifier) + std::string(kLockSuffix);
    // Not truncated on opening: the file may belong to a running process until the lock is ours.
    // Closed on exec, so that the programs this one starts do not hold its announcement.
    FileDescriptor fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd) {
        return true;
    }
    if (!lockExclusively(fd.get())) {
        fd = FileDescriptor();
        return !isHeld(path);
    }
    // The process id, for people and scripts; the lock alone decides what runs.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd.get(), 0) == 0) {
        [[maybe_unused]] const ssize_t written = ::pwrite(fd.get(), pid.data(), pid.size(), 0);
    }
    d->announcements.emplace(std::move(key), Impl::Announcement{std::move(fd), folder, path});
    return true;
}

void Workspace::ensureRuntimeDirectory() {
    if (usableRuntimeDirectory() != nullptr) {
        return;
    }
    const std::string folder = privateRuntimeDirectory();
    ::mkdir(folder.c_str(), 0700);
    if (isPrivateFolder(folder)) {
        ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    }
}

std::string Workspace::currentDisplay() {
    const QString platform = QGuiApplication::platformName();
    if (platform == "xcb") {
        // ":0", ":0.0" and "unix:0" are one display.
        std::string display = qgetenv("DISPLAY").toStdString();
        const auto colon = display.rfind(':');
        if (colon != std::string::npos) {
            if (const auto dot = display.find('.', colon); dot != std::string::npos) {
                display.erase(dot);
            }
            if (display.compare(0, colon, "unix") == 0) {
                display.erase(0, colon);
            }
        }
        return "x11-" + display;
    }
    if (platform.startsWith("wayland")) {
        const QByteArray socket = qgetenv("WAYLAND_DISPLAY");
        return "wayland-" + (socket.isEmpty() ? std::string("wayland-0") : socket.toStdString());
    }
    return std::string(kHeadlessPrefix) + std::to_string(::getpid());
}

bool Workspace::launchApplicationAtPath(const std::string& path) {
    // An argument vector: the path is never seen by a shell.
    return QProcess::startDetached(QFile::decodeName(path.c_str()), {});
}

bool Workspace::openURL(const URL& url) {
    if (url.absoluteString() == DesktopSettings::dateTimeURL) {
        return startDetached(DesktopSettings::dateTimeCommand());
    }
    const QString opener = QStandardPaths::findExecutable("xdg-open");
    return !opener.isEmpty() && startDetached({opener.toStdString(), url.absoluteString()});
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

std::optional<std::string> Workspace::pathOfInstalledProgram(std::string_view name,
                                                             std::string_view installedFolder) {
    const std::string folder = applicationDirectoryPath();
    if (folder.empty()) {
        return std::nullopt;
    }
    const std::string program(name);
    for (const std::string& candidate :
         {folder + "/" + program, folder + "/" + std::string(installedFolder) + "/" + program}) {
        const std::string clean =
            QFile::encodeName(QDir::cleanPath(QFile::decodeName(candidate.c_str()))).toStdString();
        if (isExecutableFileAtPath(clean)) {
            return clean;
        }
    }
    return std::nullopt;
}

}  // namespace vorelt
