#include "platform/TimeZone.h"

#include <unicode/timezone.h>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>

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

// "…/zoneinfo/Asia/Kolkata" (after links) gives "Asia/Kolkata", if ICU knows that zone.
std::unique_ptr<icu::TimeZone> zoneLinkedFrom(const std::string& file) {
    if (file.empty()) {
        return nullptr;
    }
    std::string target = QFileInfo(QString::fromStdString(file)).canonicalFilePath().toStdString();
    const auto at = target.rfind("/zoneinfo/");
    if (at == std::string::npos) {
        return nullptr;
    }
    std::string id = target.substr(at + 10);
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

std::unique_ptr<icu::TimeZone> hostZone() {
    if (auto zone = zoneLinkedFrom(zoneFile())) {
        return zone;
    }
    // A zone name in TZ, a copied file, or none at all: ICU's own detection, as before.
    return std::unique_ptr<icu::TimeZone>(icu::TimeZone::detectHostTimeZone());
}

std::mutex zoneLock;

void adoptHostZone(bool count) {
    const std::lock_guard<std::mutex> lock(zoneLock);
    auto zone = hostZone();
    std::unique_ptr<icu::TimeZone> current(icu::TimeZone::createDefault());
    if (*zone == *current) {
        return;
    }
    icu::TimeZone::adoptDefault(zone.release());
    if (count) {
        changeCount.fetch_add(1);
    }
}

void ensureAdopted() {
    static std::once_flag once;
    std::call_once(once, [] { adoptHostZone(false); });
}

// Watches the file and its folder: a zone is usually changed by replacing a link, which a watch
// on the file alone (on the link's old target) would never see.
void watch(QFileSystemWatcher& watcher) {
    const QStringList watched = watcher.files() + watcher.directories();
    if (!watched.isEmpty()) {
        watcher.removePaths(watched);
    }
    const QString file = QString::fromStdString(zoneFile());
    if (file.isEmpty()) {
        return;
    }
    QStringList paths{QFileInfo(file).absolutePath()};
    if (QFileInfo::exists(file)) {
        paths.append(file);
    }
    watcher.addPaths(paths);
}

}  // namespace

std::string TimeZone::systemTimeZoneName() {
    ensureAdopted();
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createDefault());
    icu::UnicodeString id;
    zone->getID(id);
    std::string name;
    id.toUTF8String(name);
    return name;
}

void TimeZone::resetSystemTimeZone() {
    ensureAdopted();
    adoptHostZone(true);
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
    const auto changed = [watcher] {
        resetSystemTimeZone();
        watch(*watcher);
    };
    QObject::connect(watcher, &QFileSystemWatcher::fileChanged, watcher, changed);
    QObject::connect(watcher, &QFileSystemWatcher::directoryChanged, watcher, changed);
    watch(*watcher);
}

}  // namespace vorelt
