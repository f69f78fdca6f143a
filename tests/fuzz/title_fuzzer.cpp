// The clock's title from a hostile pattern: stored, read back on a tick, formatted and flashed.
#include <QApplication>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "../TestSupport.h"
#include "../support/HeadlessClock.h"

namespace {
std::shared_ptr<vorelt::AppDelegate> delegate;
double moment = vorelt::test::kMondayAfterMidnight;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(*argc, *argv);
    static const vorelt::test::TemporaryConfigHome home;
    delegate = vorelt::test::launchHeadless(moment);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the moment and the flashing; the rest is the pattern.
    moment = vorelt::test::kMondayAfterMidnight + static_cast<double>(data[0]) * 86399.37;
    const std::string pattern(reinterpret_cast<const char*>(data + 1), size - 1);
    delegate->userDefaults->setObject(pattern, "dateFormat");
    delegate->userDefaults->setBool((data[0] & 1) != 0, "shouldFlashSeparator");
    delegate->updateMenuTime();
    const std::string& title = delegate->statusItem->button()->title();
    if (title.size() > 64 * pattern.size() + 64) {
        std::abort();  // no pattern letter expands that far
    }
    return 0;
}
