#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <string>
#include <vector>

#include "platform/foundation/Date.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/statusbar/StatusBarButton.h"
#include "platform/statusbar/StatusBarHost.h"
#include "platform/statusbar/StatusItem.h"
#include "platform/ui/GlobalEventSource.h"

namespace vorelt::test {

// The bytes of the file at `path`; none when it cannot be read.
inline QByteArray readFile(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The names in `folder`, hidden ones included.
inline QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                  QDir::System);
}

// A config home of its own for one test; the shared store is read from it afresh.
class TemporaryConfigHome {
public:
    TemporaryConfigHome() {
        qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
        UserDefaults::resetStandardUserDefaults();
    }
    ~TemporaryConfigHome() {
        UserDefaults::resetStandardUserDefaults();
        qunsetenv("XDG_CONFIG_HOME");
    }
    QString home() const { return dir_.path(); }
    QString storePath() const { return dir_.path() + "/vorelt/vorelt.conf"; }
    void writeStore(const QByteArray& bytes) const {
        QDir().mkpath(dir_.path() + "/vorelt");
        QFile file(storePath());
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
    }
    QByteArray readStore() const { return readFile(storePath()); }

private:
    QTemporaryDir dir_;
};

// A private runtime folder of its own for one test, as a session's $XDG_RUNTIME_DIR is, so that
// no clock running on the machine counts.
class TemporaryRuntimeDir {
public:
    TemporaryRuntimeDir() : previous_(qgetenv("XDG_RUNTIME_DIR")) {
        QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir_.path().toUtf8());
    }
    // Put back as it was; an empty value counts as unset.
    ~TemporaryRuntimeDir() { qputenv("XDG_RUNTIME_DIR", previous_); }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QByteArray previous_;
};

// The current moment, set and advanced by the test.
class ManualClock {
public:
    explicit ManualClock(double secondsSince1970) : now_(secondsSince1970) {}
    void advance(double seconds) { now_ += seconds; }
    // What the objects under test read the time from; it reads this clock while it lives.
    Clock clock() const {
        return [this] { return Date(now_); };
    }

private:
    double now_;
};

// A status bar host that remembers every title it was asked to show.
class RecordingHost : public StatusBarHost {
public:
    void addItem(StatusItem&) override {}
    void removeItem(StatusItem&) override {}
    // Each new title; a change of the length or the menu keeps the title.
    void itemChanged(StatusItem& item) override {
        const auto button = item.button();
        if (button && (titles.empty() || titles.back() != button->title())) {
            titles.push_back(button->title());
        }
    }
    Rect screenFrameOfItem(const StatusItem&) const override { return Rect{900, 0, 120, 24}; }
    std::vector<std::string> titles;
};

// Presses in other programs that the test makes, in place of the desktop's.
class SubstituteEventSource : public GlobalEventSource {
public:
    void start(Report report) override { report_ = std::move(report); }
    void stop() override { report_ = nullptr; }
    // A press at `where` that goes to another program, while monitors listen.
    void press(Event::Type type, Point where = {}) const {
        if (report_) {
            report_(type, where);
        }
    }

private:
    Report report_;
};

// Runs the event loop until `done` holds or the time runs out.
inline bool waitFor(const std::function<bool()>& done, int milliseconds = 3000) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > milliseconds) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Runs the event loop for `milliseconds`, to see that nothing happens meanwhile.
inline void runEventLoopFor(int milliseconds) {
    waitFor([] { return false; }, milliseconds);
}

// 2025-12-29 00:05:09 UTC, a Monday: the week-based year is already 2026, the hour is 0.
constexpr double kMondayAfterMidnight = 1766966709.0;

}  // namespace vorelt::test
