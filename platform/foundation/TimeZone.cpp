#include "platform/foundation/TimeZone.h"

#include <unicode/timezone.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace vorelt {

namespace {

std::atomic<std::uint64_t> changeCount{0};

// The file that holds the zone: what `TZ` names when it is a path, /etc/localtime when `TZ` is
// unset; empty when `TZ` names a zone or a rule, which no file change can alter.
std::string zoneFile() {
    const char* tz = std::getenv("TZ");
    if (tz == nullptr) {
        return "/etc/localtime";
    }
    std::string value(tz);
    if (!value.empty() && value.front() == ':') {
        value.erase(0, 1);
    }
    return !value.empty() && value.front() == '/' ? value : std::string();
}

// "…/zoneinfo/Asia/Kolkata" gives "Asia/Kolkata", if ICU knows that zone.
std::unique_ptr<icu::TimeZone> zoneNamedBy(const QString& path) {
    const auto at = path.lastIndexOf("/zoneinfo/");
    if (at < 0) {
        return nullptr;
    }
    std::string id = path.mid(at + 10).toStdString();
    for (const char* prefix : {"posix/", "right/"}) {
        if (id.starts_with(prefix)) {
            id.erase(0, std::char_traits<char>::length(prefix));
        }
    }
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(id.c_str()));
    if (zone == nullptr || *zone == icu::TimeZone::getUnknown()) {
        return nullptr;
    }
    return zone;
}

// The zone the file or its chain of links names first: the link's own name, as the desktop's
// settings chose it, not the name the zone data happens to store it under.
std::unique_ptr<icu::TimeZone> zoneLinkedFrom(const std::string& file) {
    QString path = QString::fromStdString(file);
    for (int hop = 0; hop < 8 && !path.isEmpty(); ++hop) {
        if (auto zone = zoneNamedBy(path)) {
            return zone;
        }
        const QByteArray local = QFile::encodeName(path);
        std::array<char, 4096> target{};
        const ssize_t length = ::readlink(local.constData(), target.data(), target.size() - 1);
        if (length <= 0) {
            return nullptr;
        }
        const QString next = QFile::decodeName(QByteArray(target.data(), length));
        path = QDir::cleanPath(next.startsWith('/') ? next
                                                    : QFileInfo(path).absolutePath() + '/' + next);
    }
    return nullptr;
}

std::unique_ptr<icu::TimeZone> hostZone(bool atStart) {
    const std::string file = zoneFile();
    if (auto zone = zoneLinkedFrom(file)) {
        return zone;
    }
    // Between the removal of a link and the making of the next, there is no zone to read: the
    // one in force stays.
    if (!atStart && !file.empty() && !QFileInfo::exists(QString::fromStdString(file))) {
        return nullptr;
    }
    // A zone name in TZ, a copied file, or none at all: ICU's own detection.
    return std::unique_ptr<icu::TimeZone>(icu::TimeZone::detectHostTimeZone());
}

std::mutex zoneLock;

void adoptHostZone(bool atStart) {
    const std::lock_guard<std::mutex> lock(zoneLock);
    auto zone = hostZone(atStart);
    if (zone == nullptr) {
        return;
    }
    std::unique_ptr<icu::TimeZone> current(icu::TimeZone::createDefault());
    if (*zone == *current) {
        return;
    }
    icu::TimeZone::adoptDefault(zone.release());
    if (!atStart) {
        changeCount.fetch_add(1);
    }
}

void ensureAdopted() {
    static std::once_flag once;
    std::call_once(once, [] { adoptHostZone(true); });
}

// Watches the file and its folder: a zone is usually changed by replacing a link, which a watch
// on the file alone (on the link's old target) would never see. Watches that are still right are
// kept, so that no change is missed while they are renewed.
void watch(QFileSystemWatcher& watcher) {
    const QString file = QString::fromStdString(zoneFile());
    QStringList wanted;
    if (!file.isEmpty()) {
        wanted.append(QFileInfo(file).absolutePath());
        if (QFileInfo::exists(file)) {
            wanted.append(file);
        }
    }
    QStringList stale;
    for (const QString& path : watcher.files() + watcher.directories()) {
        // The file's watch is on the link's old target, so it is always renewed.
        if (!wanted.contains(path) || path == file) {
            stale.append(path);
        }
    }
    if (!stale.isEmpty()) {
        watcher.removePaths(stale);
    }
    const QStringList watched = watcher.files() + watcher.directories();
    for (const QString& path : wanted) {
        if (!watched.contains(path)) {
            watcher.addPath(path);
        }
    }
}

}  // namespace

void TimeZone::resetSystemTimeZone() {
    ensureAdopted();
    adoptHostZone(false);
}

std::uint64_t TimeZone::systemTimeZoneChangeCount() {
    ensureAdopted();
    return changeCount.load(std::memory_order_relaxed);
}

void TimeZone::observeSystemTimeZoneChanges() {
    auto* application = QCoreApplication::instance();
    if (application == nullptr) {
        return;
    }
    ensureAdopted();
    if (auto* existing = application->findChild<QFileSystemWatcher*>("systemTimeZoneWatcher")) {
        watch(*existing);
        return;
    }
    auto* watcher = new QFileSystemWatcher(application);
    watcher->setObjectName("systemTimeZoneWatcher");
    // A replacement is often two steps (remove, make); the zone is read once they are done.
    auto* settle = new QTimer(watcher);
    settle->setSingleShot(true);
    settle->setInterval(50);
    QObject::connect(settle, &QTimer::timeout, watcher, [watcher] {
        watch(*watcher);
        resetSystemTimeZone();
    });
    const auto changed = [settle] { settle->start(); };
    QObject::connect(watcher, &QFileSystemWatcher::fileChanged, settle, changed);
    QObject::connect(watcher, &QFileSystemWatcher::directoryChanged, settle, changed);
    watch(*watcher);
}

}  // namespace vorelt
