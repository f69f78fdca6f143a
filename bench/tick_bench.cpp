// The cost of one clock tick against the floor made of the same library calls done directly.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include <fcntl.h>
#include <algorithm>

#include "menubar/AppDelegate.h"
#include "model/Identifiers.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/statusbar/StatusBar.h"
#include "platform/statusbar/StatusBarButton.h"
#include "platform/statusbar/StatusItem.h"
#include "platform/statusbar/StatusLine.h"

namespace {

using namespace vorelt;

void tick(benchmark::State& state) {
    const auto delegate = std::make_shared<AppDelegate>();
    delegate->applicationDidFinishLaunching(nullptr);
    for (auto _ : state) {
        delegate->updateMenuTime();
    }
    delegate->applicationWillTerminate(nullptr);
    StatusBar::systemStatusBar()->removeStatusItem(delegate->statusItem);
}
BENCHMARK(tick);

// Two store reads, a pattern, a formatting and a title, without the delegate around them.
void floor(benchmark::State& state) {
    const auto store = UserDefaults::standardUserDefaults();
    const auto item =
        StatusBar::systemStatusBar()->statusItemWithLength(StatusBar::VariableStatusItemLength);
    DateFormatter formatter;
    for (auto _ : state) {
        const std::string pattern = store->stringForKey("dateFormat").value_or("E MMM d  h:mm a");
        formatter.setDateFormat(pattern);
        std::string text = formatter.stringFromDate(Date::now());
        if (store->boolForKey("shouldFlashSeparator")) {
            std::replace(text.begin(), text.end(), ':', ' ');
        }
        item->button()->setTitle(text);
    }
    StatusBar::systemStatusBar()->removeStatusItem(item);
}
BENCHMARK(floor);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    QApplication application(argc, argv);
    vorelt::clockIdentity().adopt();
    StatusBar::systemStatusBar()->setHost(
        std::make_unique<StatusLine>(::open("/dev/null", O_WRONLY | O_CLOEXEC)));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
