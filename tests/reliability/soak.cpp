// Weeks of running in a minute: a million ticks on a fast clock with flashing on and the pattern
// changed every thousand ticks, then hundreds of rounds of popover and settings window. Prints
// the resident memory after warm-up and at the end of each, and fails on growth of 1 % or more
// (with a third argument "leaks-only", only a leak found at exit fails it).
#include <QApplication>

#include <cstdio>
#include <fstream>
#include <string>

#include "../TestSupport.h"
#include "../support/HeadlessClock.h"
#include "platform/ui/Button.h"
#include "platform/ui/Event.h"
#include "platform/ui/WindowController.h"
#include "popover/CalendarPopoverViewController.h"
#include "settings/SettingsViewController.h"

namespace {

long residentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

bool grewTooMuch(const char* what, long warm, long end) {
    const double growth = warm > 0 ? 100.0 * static_cast<double>(end - warm) / warm : 0.0;
    std::printf("%s: resident %ld kB after warm-up, %ld kB at the end (%+.2f %%)\n", what, warm,
                end, growth);
    return growth >= 1.0;
}

}  // namespace

int main(int argc, char** argv) {
    const long ticks = argc > 1 ? std::stol(argv[1]) : 1000000;
    const int rounds = argc > 2 ? std::stoi(argv[2]) : 500;
    // Under AddressSanitizer its own allocator makes resident memory meaningless; leaks are what
    // such a run looks for.
    const bool leaksOnly = argc > 3 && std::string(argv[3]) == "leaks-only";
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const vorelt::test::TemporaryConfigHome home;  // the user's own settings stay untouched
    const auto outside = std::make_shared<vorelt::test::SubstituteEventSource>();
    vorelt::Event::setGlobalEventSource(outside);
    double now = vorelt::test::kMondayAfterMidnight;
    auto delegate = vorelt::test::launchHeadless(now);
    delegate->userDefaults->setBool(true, "shouldFlashSeparator");
    const char* patterns[] = {"E MMM d  h:mm:ss a", "HH:mm:ss 'and' zzzz", "y-MM-dd'T'HH:mm:ss",
                              "EEEE, MMMM d, y  h:mm a"};
    long warm = 0;
    for (long tick = 0; tick < ticks; ++tick) {
        if (tick % 1000 == 0) {
            delegate->userDefaults->setObject(patterns[(tick / 1000) % 4], "dateFormat");
        }
        now += 1.0;
        delegate->updateMenuTime();
        if (tick == ticks / 10) {
            warm = residentKb();
        }
    }
    bool failed = grewTooMuch("ticks", warm, residentKb());

    for (int round = 0; round < rounds; ++round) {
        delegate->statusItem->button()->performClick();
        delegate->calendarPopoverViewController->settingsButton()->performClick();
        auto settings = std::dynamic_pointer_cast<vorelt::SettingsViewController>(
            vorelt::WindowController::openWindows().back()->contentViewController());
        settings->shouldShowSecondsButton()->performClick();
        vorelt::WindowController::openWindows().back()->close();
        QCoreApplication::processEvents();
        if (round == rounds / 10) {
            warm = residentKb();
        }
    }
    failed = grewTooMuch("popover and settings rounds", warm, residentKb()) || failed;
    std::printf("open windows left: %d\n", vorelt::WindowController::openWindowCount());
    delegate->applicationWillTerminate(nullptr);
    vorelt::Application::sharedApplication()->setDelegate(nullptr);
    delegate.reset();
    return failed && !leaksOnly ? 1 : 0;
}
