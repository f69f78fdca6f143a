// The clock's title from a hostile pattern: stored, read back on a tick, formatted and flashed.
#include <QApplication>

#include <fcntl.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "menubar/AppDelegate.h"
#include "platform/app/ServiceManagement.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/statusbar/StatusBar.h"
#include "platform/statusbar/StatusBarButton.h"
#include "platform/statusbar/StatusItem.h"
#include "platform/statusbar/StatusLine.h"

namespace {
std::shared_ptr<vorelt::AppDelegate> delegate;
double moment = 1766966709.0;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    char home[] = "/tmp/vorelt-fuzz-title.XXXXXX";
    qputenv("XDG_CONFIG_HOME", mkdtemp(home));
    static QApplication application(*argc, *argv);
    vorelt::StatusBar::systemStatusBar()->setHost(
        std::make_unique<vorelt::StatusLine>(::open("/dev/null", O_WRONLY | O_CLOEXEC)));
    vorelt::setLoginItemServiceForTesting([](std::string_view) { return true; });
    vorelt::Date::setClock([] { return vorelt::Date(moment); });
    delegate = std::make_shared<vorelt::AppDelegate>();
    delegate->applicationDidFinishLaunching(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the moment and the flashing; the rest is the pattern.
    moment = 1766966709.0 + static_cast<double>(data[0]) * 86399.37;
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
