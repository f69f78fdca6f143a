// The preference store reading a file of any bytes: it never crashes, a file it cannot read is
// kept aside unchanged, and what it writes afterwards reads back.
#include <QCoreApplication>
#include <QFile>

#include <cstdint>
#include <cstdlib>

#include "platform/foundation/UserDefaults.h"

namespace {
QString folder;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication application(*argc, *argv);
    char home[] = "/tmp/vorelt-fuzz-store.XXXXXX";
    folder = QString::fromLocal8Bit(mkdtemp(home));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = folder + "/vorelt.conf";
    QFile::remove(path + ".unreadable");
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::abort();  // the input never reached the store
    }
    file.close();
    {
        vorelt::UserDefaults store(path.toStdString());
        for (const char* key : {"dateFormat", "shouldFlashSeparator", "General", ""}) {
            (void)store.boolForKey(key);
            (void)store.stringForKey(key);
        }
        store.setObject("'fuzz' HH:mm", "dateFormat");
        store.setBool(true, "shouldShowSeconds");
    }
    QFile aside(path + ".unreadable");
    if (aside.exists() && (!aside.open(QIODevice::ReadOnly) || aside.readAll() != bytes)) {
        std::abort();  // the unreadable file must be kept as it was
    }
    vorelt::UserDefaults reopened(path.toStdString());
    if (reopened.stringForKey("dateFormat") != "'fuzz' HH:mm" ||
        !reopened.boolForKey("shouldShowSeconds")) {
        std::abort();  // a change made was lost
    }
    return 0;
}
