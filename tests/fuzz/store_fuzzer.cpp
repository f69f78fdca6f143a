// The preference store reading a file of any bytes: it never crashes, a file it cannot read is
// kept aside unchanged, and what it writes afterwards reads back.
#include <cstdint>
#include <cstdlib>

#include "../TestSupport.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const vorelt::test::TemporaryConfigHome home;
    const QString aside = home.storePath() + ".unreadable";
    QFile::remove(aside);
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    home.writeStore(bytes);
    if (vorelt::test::readFile(home.storePath()) != bytes) {
        std::abort();  // the input never reached the store
    }
    {
        vorelt::UserDefaults store(home.storePath().toStdString());
        for (const char* key : {"dateFormat", "shouldFlashSeparator", "General", ""}) {
            (void)store.boolForKey(key);
            (void)store.stringForKey(key);
        }
        store.setObject("'fuzz' HH:mm", "dateFormat");
        store.setBool(true, "shouldShowSeconds");
    }
    if (QFile::exists(aside) && vorelt::test::readFile(aside) != bytes) {
        std::abort();  // the unreadable file must be kept as it was
    }
    vorelt::UserDefaults reopened(home.storePath().toStdString());
    if (reopened.stringForKey("dateFormat") != "'fuzz' HH:mm" ||
        !reopened.boolForKey("shouldShowSeconds")) {
        std::abort();  // a change made was lost
    }
    return 0;
}
