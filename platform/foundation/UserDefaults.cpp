#include "platform/foundation/UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSettings>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

#include "platform/foundation/Identity.h"
#include "platform/foundation/IniValues.h"
#include "platform/foundation/NextTurn.h"
#include "platform/foundation/PlatformLog.h"
#include "platform/foundation/QtText.h"

namespace vorelt {

namespace {

// Far larger than any file this program writes; a bigger one is not a settings file of ours.
constexpr qint64 kLargestReadableFile = 1 << 20;

std::shared_ptr<UserDefaults>& sharedStore() {
    // Never destroyed: it watches files with toolkit objects, which must not outlive the toolkit.
    static auto& store = *new std::shared_ptr<UserDefaults>;
    return store;
}

enum class FileState { Missing, Good, Unreadable };

using Values = std::map<std::string, std::optional<std::string>, std::less<>>;

// Reads the whole file; anything that is not plainly a text INI file counts as unreadable, so that
// a later write never replaces bytes that the parser would have mangled. Qt's own INI reader reads
// it, not one of ours registered as a format: it reads every file it and people have written, and
// the scan before it only keeps it from decoding serialized objects.
FileState readFile(const QString& path, Values& values) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        return FileState::Missing;
    }
    // A link in place of the file is not followed: writing through it would overwrite whatever
    // it points at.
    if (info.isSymLink() || !info.isFile() || info.size() > kLargestReadableFile) {
        return FileState::Unreadable;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return FileState::Unreadable;
    }
    // As much as the file holds, and a byte to tell that it grew: a buffer of the largest size
    // would be asked for at every read, and would leave the heap that large.
    QByteArray bytes = file.read(std::min<qint64>(info.size(), kLargestReadableFile) + 1);
    if (bytes.size() > info.size() && bytes.size() <= kLargestReadableFile) {
        bytes += file.read(kLargestReadableFile + 1 - bytes.size());
    }
    if (bytes.size() > kLargestReadableFile || bytes.contains('\0')) {
        return FileState::Unreadable;
    }
    // Invalid UTF-8 does not survive the round trip through text.
    if (QString::fromUtf8(bytes).toUtf8() != bytes) {
        return FileState::Unreadable;
    }
    // A value Qt would decode as a serialized object: this store never writes one (a text that
    // starts with "@" is written as "@@"), and decoding a crafted one can ask for gigabytes.
    if (IniValues::holdSerializedObject(bytes)) {
        return FileState::Unreadable;
    }
    QSettings settings(path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) {
        return FileState::Unreadable;
    }
    values.clear();
    for (const QString& key : settings.allKeys()) {
        const QVariant value = settings.value(key);
        std::optional<std::string> text;
        if (value.typeId() == QMetaType::QString) {
            text = value.toString().toStdString();
        }
        values.emplace(key.toStdString(), std::move(text));
    }
    return FileState::Good;
}

}  // namespace

struct UserDefaults::Impl {
    std::string path;
    QString filePath;
    QString directory;
    Values values;
    // Keys written in memory that have not reached the disk yet.
    std::set<std::string, std::less<>> unsaved;
    // The file on disk could not be read: move it aside before writing a new one.
    bool keepAside = false;
    // The file or its folder changed on disk since the last read.
    bool stale = false;
    std::unique_ptr<QFileSystemWatcher> watcher;
    std::map<int, std::function<void()>> observers;
    int lastObserver = 0;
    // Once for all the changes made in one turn: a reader then sees every key of a change that
    // writes several.
    NextTurn notification{[this] {
        const auto current = observers;
        for (const auto& [token, observer] : current) {
            if (observers.contains(token)) {
                observer();
            }
        }
    }};

    explicit Impl(std::string p)
        : path(std::move(p)),
          filePath(QString::fromStdString(path)),
          directory(QFileInfo(filePath).absolutePath()) {
        keepAside = readFile(filePath, values) == FileState::Unreadable;
        watch();
    }

    // Follows the folder (or, before it exists, its parent) so hand edits reach a running clock.
    void watch() {
        if (QCoreApplication::instance() == nullptr) {
            return;
        }
        if (!watcher) {
            watcher = std::make_unique<QFileSystemWatcher>();
            const auto changedOnDisk = [this] {
                stale = true;
                notifyObservers();
            };
            QObject::connect(watcher.get(), &QFileSystemWatcher::directoryChanged, changedOnDisk);
            QObject::connect(watcher.get(), &QFileSystemWatcher::fileChanged, changedOnDisk);
        }
        const QString parent = QFileInfo(directory).absolutePath();
        if (QFileInfo(directory).isDir()) {
            if (!watcher->directories().contains(directory)) {
                watcher->addPath(directory);
                watcher->removePath(parent);
                stale = true;
            }
        } else if (QFileInfo(parent).isDir() && !watcher->directories().contains(parent)) {
            watcher->addPath(parent);
        }
        // Edits in place change the file, not the folder. A replaced file needs a new watch.
        watcher->removePath(filePath);
        if (QFileInfo(filePath).isFile()) {
            watcher->addPath(filePath);
        }
    }

    void refresh() {
        if (!stale) {
            return;
        }
        stale = false;
        watch();
        Values fresh;
        switch (readFile(filePath, fresh)) {
            case FileState::Unreadable:
                keepAside = true;
                return;
            case FileState::Missing:
                fresh.clear();
                break;
            case FileState::Good:
                keepAside = false;
                break;
        }
        for (const auto& key : unsaved) {
            fresh[key] = values[key];
        }
        values = std::move(fresh);
    }

    bool moveAside() {
        for (int n = 0; n < 1000; ++n) {
            const QString target =
                filePath + ".unreadable" + (n == 0 ? QString() : "." + QString::number(n));
            if (!QFileInfo::exists(target)) {
                return QDir().rename(filePath, target);
            }
        }
        return false;
    }

    void write(std::string_view key, std::string value) {
        refresh();
        values.insert_or_assign(std::string(key), std::move(value));
        unsaved.emplace(key);
        persist();
        notifyObservers();
    }

    void notifyObservers() {
        if (!observers.empty()) {
            notification.schedule();
        }
    }

    // The folder, or the nearest folder above it that exists, takes a new file.
    bool folderTakesFiles() const {
        QString folder = directory;
        while (!QFileInfo(folder).exists() && QFileInfo(folder).absolutePath() != folder) {
            folder = QFileInfo(folder).absolutePath();
        }
        const QFileInfo info(folder);
        return info.isDir() && ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
    }

    void persist() {
        const QFileInfo current(filePath);
        keepAside = keepAside || current.isSymLink();
        if (keepAside && (current.exists() || current.isSymLink())) {
            if (!moveAside()) {
                qCWarning(platformLog) << "settings not saved: cannot move" << filePath << "aside";
                return;
            }
        }
        keepAside = false;
        if (!QDir().mkpath(directory)) {
            qCWarning(platformLog) << "settings not saved: cannot create" << directory;
            return;
        }
        {
            QSettings settings(filePath, QSettings::IniFormat);
            for (const auto& key : unsaved) {
                settings.setValue(qs(key), qs(values[key].value_or(std::string())));
            }
            settings.sync();
            if (settings.status() != QSettings::NoError) {
                qCWarning(platformLog) << "settings not saved: cannot write" << filePath;
                return;
            }
        }
        unsaved.clear();
        watch();
    }

    const std::optional<std::string>* find(std::string_view key) {
        refresh();
        const auto it = values.find(key);
        return it == values.end() ? nullptr : &it->second;
    }
};

std::shared_ptr<UserDefaults> UserDefaults::standardUserDefaults() {
    auto& store = sharedStore();
    // The shared store goes with the toolkit, whose file watcher it holds.
    static const bool endsWithToolkit = (qAddPostRoutine(resetStandardUserDefaults), true);
    (void)endsWithToolkit;
    if (!store) {
        store = std::make_shared<UserDefaults>(standardPath());
    }
    return store;
}

void UserDefaults::resetStandardUserDefaults() {
    sharedStore().reset();
}

std::string UserDefaults::configHomePath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::homePath() + "/.config";
    }
    return base.toStdString();
}

std::string UserDefaults::standardPath() {
    const std::string name = Identity::current().name;
    return configHomePath() + "/" + name + "/" + name + ".conf";
}

UserDefaults::UserDefaults(std::string path) : d(std::make_unique<Impl>(std::move(path))) {}

UserDefaults::~UserDefaults() = default;

std::optional<std::string> UserDefaults::objectForKey(std::string_view key) {
    const auto* value = d->find(key);
    if (value == nullptr) {
        return std::nullopt;
    }
    return value->value_or(std::string());
}

bool UserDefaults::boolForKey(std::string_view key) {
    const auto* value = d->find(key);
    return value != nullptr && *value == "true";
}

std::optional<std::string> UserDefaults::stringForKey(std::string_view key) {
    const auto* value = d->find(key);
    return value == nullptr ? std::nullopt : *value;
}

void UserDefaults::setBool(bool value, std::string_view key) {
    d->write(key, value ? "true" : "false");
}

void UserDefaults::setObject(std::string_view value, std::string_view key) {
    d->write(key, std::string(value));
}

const std::string& UserDefaults::path() const {
    return d->path;
}

bool UserDefaults::canSave() {
    d->refresh();
    return d->unsaved.empty() && d->folderTakesFiles();
}

int UserDefaults::addObserver(std::function<void()> observer) {
    d->watch();
    d->observers.emplace(++d->lastObserver, std::move(observer));
    return d->lastObserver;
}

void UserDefaults::removeObserver(int token) {
    d->observers.erase(token);
}

}  // namespace vorelt
