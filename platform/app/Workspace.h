#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/app/RunningApplication.h"
#include "platform/foundation/Object.h"
#include "platform/foundation/URL.h"

namespace vorelt {

// The session's running programs (lock files under $XDG_RUNTIME_DIR) and the starting of programs.
// Programs start with QProcess, never through a shell; URLs open with xdg-open.
//
// An application announces itself by holding a lock on a file named after its identifier in a
// folder of its display in $XDG_RUNTIME_DIR/<name>/, the product's name (/tmp/<name>-<uid>/<name>/
// without a usable runtime folder). The kernel drops the lock when the process ends, however it
// ends, so a crashed application is never listed. One identifier runs once per display: a clock on
// another X display is another clock, and so is each clock on standard output, which feeds its own
// reader.
class Workspace : public Object {
public:
    static std::shared_ptr<Workspace> sharedWorkspace();

    using RunningList = std::function<std::vector<std::shared_ptr<RunningApplication>>()>;

    Workspace();
    // A workspace whose running applications, on every display, are those `runningApplications`
    // lists, in place of the announcements (tests).
    explicit Workspace(RunningList runningApplications);
    // Withdraws this workspace's announcements.
    ~Workspace() override;

    // The applications of this user that announced themselves and still run, on any display,
    // this process's own announcements included, ordered by identifier, each identifier once.
    std::vector<std::shared_ptr<RunningApplication>> runningApplications();
    // Only those announced on `display`, as currentDisplay() names displays.
    std::vector<std::shared_ptr<RunningApplication>> runningApplications(std::string_view display);
    // Lists this process under `bundleIdentifier` on `display` (this process's display when
    // omitted) for as long as it runs (or this workspace lives). False when another process
    // holds the identifier on that display. Otherwise true, also when nothing could be announced
    // because the identifier is no file name or the folder cannot be had: that is no reason for
    // a program not to run.
    bool announceRunningApplication(std::string_view bundleIdentifier);
    bool announceRunningApplication(std::string_view bundleIdentifier, std::string_view display);

    // This process's display as announcements are keyed: "x11-<host>:<number>" (the screen
    // number left out), "wayland-<socket>", or "headless-<process id>" on standard output.
    static std::string currentDisplay();

    // Without a usable $XDG_RUNTIME_DIR (a root shell, cron), sets it to a private folder of this
    // user, /tmp/<name>-<uid>, so that the toolkit has one and says nothing about it.
    static void ensureRuntimeDirectory();

    // Starts the program at `path` without arguments and without waiting for it, detached from
    // this process. False when it could not be started.
    bool launchApplicationAtPath(const std::string& path);

    // Hands a URL to the desktop, without a shell. The date and time settings URL opens the
    // desktop's own date and time tool, where one is installed. False when nothing opened it.
    bool openURL(const URL& url);

    // The folder of this process's program file, where the programs installed with it are found.
    static std::string applicationDirectoryPath();
    // True for a regular file that this user may run.
    static bool isExecutableFileAtPath(const std::string& path);
    // The program `name` installed with this one: beside it in a build, else in `installedFolder`
    // (relative to this program's folder) once installed. None when it is in neither or cannot be
    // run.
    static std::optional<std::string> pathOfInstalledProgram(std::string_view name,
                                                             std::string_view installedFolder);

private:
    std::vector<std::shared_ptr<RunningApplication>> listRunning(
        std::optional<std::string_view> display);

    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace vorelt
