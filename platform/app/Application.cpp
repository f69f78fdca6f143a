#include "platform/app/Application.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <malloc.h>
#include <sys/socket.h>
#include <unistd.h>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/app/Appearance.h"
#include "platform/app/Bundle.h"
#include "platform/app/CommandLine.h"
#include "platform/app/ToolkitScale.h"
#include "platform/app/Workspace.h"
#include "platform/foundation/FreeMemory.h"
#include "platform/foundation/PlatformLog.h"
#include "platform/foundation/QtText.h"
#include "platform/foundation/SessionBus.h"
#include "platform/foundation/TimeZone.h"
#include "platform/statusbar/StatusBar.h"
#include "platform/ui/DesktopEventSource.h"

namespace vorelt {

namespace {

// Process-wide: a signal handler reaches nothing else, and the signals are the process's.
int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    // Only a wake-up here: the event loop does the rest.
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

// Long enough for a window's last paint and the toolkit's clean-up after it.
constexpr int kMemoryReturnDelayMs = 1000;

// An exit() while the event loop runs comes from inside the toolkit, which ends the process that
// way when the display is lost. It ends at once: tearing down the toolkit's globals under windows
// that still exist crashes, and there is nothing left to save.
void exitInsideEventLoop() {
    if (Application::sharedApplication()->inEventLoop()) {
        std::fflush(stdout);
        std::fflush(stderr);
        ::_exit(1);
    }
}

// Sets the toolkit's platform for the place asked for; true when the user asked for offscreen.
bool chooseWindowingSystem(StatusBarHostRule::Place place) {
    if (place == StatusBarHostRule::Place::standardOutput) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return false;
    }
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        return qgetenv("QT_QPA_PLATFORM") == "offscreen";
    }
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    // Without a display, or when it cannot be reached, the clock still runs on standard output.
    // In a Wayland session XWayland comes first where there is one (DISPLAY): there the clock
    // places its popover itself.
    const char* platforms = x11 ? "xcb;offscreen" : wayland ? "wayland;offscreen" : "offscreen";
    qputenv("QT_QPA_PLATFORM", platforms);
    return false;
}

}  // namespace

void ApplicationDelegate::applicationDidFinishLaunching(Object*) {}

void ApplicationDelegate::applicationWillTerminate(Object*) {}

std::shared_ptr<Application> Application::sharedApplication() {
    // Never destroyed, as other rooms reach it to the last; what it owns ends with the toolkit.
    static const auto* application = [] {
        qAddPostRoutine([] { sharedApplication()->end(); });
        return new std::shared_ptr<Application>(new Application);
    }();
    return *application;
}

void Application::setDelegate(std::shared_ptr<ApplicationDelegate> delegate) {
    delegate_ = std::move(delegate);
}

void Application::setGlobalEventSource(std::shared_ptr<GlobalEventSource> source) {
    globalEventSource_ = std::move(source);
    Event::setGlobalEventSource(globalEventSource_);
}

void Application::end() {
    delegate_.reset();
    globalEventSource_.reset();
}

bool Application::sendAction(const Selector& action, Object* target, Object* sender) {
    const auto receiver = receiverForAction(action, target, sender);
    if (!receiver) {
        qCWarning(platformLog) << "the action" << qs(action) << "reaches no receiver";
        return false;
    }
    return receiver->performSelector(action, sender);
}

std::shared_ptr<Object> Application::receiverForAction(const Selector& action, Object* target,
                                                       Object* sender) {
    // Without a target: the sender's controllers, then the delegate, then the application.
    if (auto responder = responderFor(action, target, sender); responder || target != nullptr) {
        return responder;
    }
    if (delegate_ && delegate_->respondsToSelector(action)) {
        return delegate_;
    }
    return respondsToSelector(action) ? shared_from_this() : nullptr;
}

void Application::terminate(Object*) {
    if (terminating_) {
        return;
    }
    terminating_ = true;
    if (const auto delegate = delegate_) {
        delegate->applicationWillTerminate(nullptr);
    }
    if (terminationHandler_) {
        terminationHandler_();
        terminating_ = false;
        return;
    }
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::exit(0);
    } else {
        std::exit(0);
    }
}

void Application::setTerminationHandler(std::function<void()> handler) {
    terminationHandler_ = std::move(handler);
}

void Application::installSignalHandlers() {
    if (signalPipe[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0) {
            return;
        }
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
            sigaction(sig, &action, nullptr);
        }
    }
    // Signals that came before the event loop wait in the pipe until it runs.
    const auto application = sharedApplication();
    if (application->listeningForSignals_ || qApp == nullptr) {
        return;
    }
    application->listeningForSignals_ = true;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char byte = 0;
        while (::read(signalPipe[0], &byte, 1) > 0) {
        }
        Application::sharedApplication()->terminate(nullptr);
    });
}

Action Application::actionForSelector(const Selector& selector) {
    if (selector == "terminate:") {
        return [this](Object* sender) { terminate(sender); };
    }
    return {};
}

namespace {

// What the whole process keeps to, before anything else runs.
void prepareProcess() {
    std::signal(SIGPIPE, SIG_IGN);
    // One heap for all threads: the toolkit's threads allocate little, and an arena each would
    // keep pages of their own.
    ::mallopt(M_ARENA_MAX, 1);
}

// The arguments after the program's name, for a program that reads its command line.
std::vector<std::string> argumentsOf(int argc, char* argv[], const MainInterface& mainInterface) {
    if (!mainInterface.readsCommandLine) {
        return {};
    }
    return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

// --help and --version, which need no display: the exit status, or none to go on.
std::optional<int> answerWithoutDisplay(const CommandLine& commandLine, const Identity& identity) {
    if (commandLine.helpAsked()) {
        std::fputs(CommandLine::usage(identity.name).c_str(), stdout);
        return 0;
    }
    if (commandLine.versionAsked()) {
        std::printf("%s %s\n", identity.name.c_str(), VORELT_VERSION);
        return 0;
    }
    return std::nullopt;
}

// The environment the toolkit starts in: signals, the runtime folder, the windowing system. True
// when the user asked for offscreen.
bool prepareEnvironment(StatusBarHostRule::Place place) {
    // From the first moment: a signal during start-up still ends the program cleanly.
    Application::installSignalHandlers();
    Workspace::ensureRuntimeDirectory();
    return chooseWindowingSystem(place);
}

// At a fractional scale the toolkit paints the bar's title every second, and with an image it
// shares with the X server it makes a round trip before each paint: there the image is sent over
// the connection instead. At whole scales the title goes to the server without the toolkit, and the
// shared image keeps the bar's ground out of the clock's own memory. Qt's own event loop does with
// fewer instructions and less memory than GLib's, and the clock needs nothing that only GLib's
// brings. A GTK desktop's platform theme starts GTK, whose display probes OpenGL at once, loading
// the GL driver (with LLVM, some 14 MB of private memory) that a theme's colours, fonts and icons
// never use. Set for the toolkit's start only, so that programs started later are not affected: the
// names set here, for unsetToolkitStartVariables.
std::vector<const char*> setToolkitStartVariables() {
    std::vector<std::pair<const char*, const char*>> wanted{{"QT_NO_GLIB", "1"},
                                                            {"GDK_GL", "disable"}};
    if (!ToolkitScale::wholeFromEnvironment()) {
        wanted.emplace_back("QT_XCB_NO_MITSHM", "1");
    }
    std::vector<const char*> setHere;
    for (const auto& [name, value] : wanted) {
        if (!qEnvironmentVariableIsSet(name)) {
            qputenv(name, value);
            setHere.push_back(name);
        }
    }
    return setHere;
}

void unsetToolkitStartVariables(const std::vector<const char*>& setHere) {
    for (const char* name : setHere) {
        qunsetenv(name);
    }
}

// Announces the program on this display; false when the same identifier already runs there.
bool checkForAnotherInstance(const MainInterface& mainInterface) {
    SessionBus::keepToolkitFromStartingOne();
    QApplication::setQuitOnLastWindowClosed(false);
    return Workspace::sharedWorkspace()->announceRunningApplication(
        mainInterface.identity.applicationId);
}

// Before any view loads: the views translate their texts, and Qt takes the layout direction from
// the translation.
void loadTranslationsAndLooks() {
    Bundle::loadLocalization(Bundle::preferredLocalization());
    Appearance::applyDesktopScheme();
    TimeZone::observeSystemTimeZoneChanges();
}

// Creates the delegate, tells it that launching finished and runs the event loop until the
// application terminates: its exit status. `inEventLoop` holds while the loop runs.
int runEventLoop(Application& application, const MainInterface& mainInterface, bool& inEventLoop) {
    application.setDelegate(mainInterface.instantiate());
    QTimer::singleShot(0, [&application] {
        if (const auto delegate = application.delegate()) {
            delegate->applicationDidFinishLaunching(nullptr);
        }
    });
    FreeMemory::returnSoon();
    std::atexit(exitInsideEventLoop);
    inEventLoop = true;
    const int status = QApplication::exec();
    inEventLoop = false;
    return status;
}

}  // namespace

int ApplicationMain(int argc, char* argv[], const MainInterface& mainInterface) {
    prepareProcess();
    const Identity& identity = mainInterface.identity;
    identity.adopt();
    // Help and the version need no display; Qt's options are only known once Qt has taken them.
    const CommandLine early(argumentsOf(argc, argv, mainInterface));
    if (const auto status = answerWithoutDisplay(early, identity)) {
        return *status;
    }
    const auto application = Application::sharedApplication();
    application->requestedPlace_ = early.place();
    application->offscreenGiven_ = prepareEnvironment(early.place());
    const auto setHere = setToolkitStartVariables();
    QApplication qtApplication(argc, argv);
    unsetToolkitStartVariables(setHere);
    const CommandLine commandLine(argumentsOf(argc, argv, mainInterface));
    if (!commandLine.error().empty()) {
        std::fprintf(stderr, "%s: %s\n", identity.name.c_str(), commandLine.error().c_str());
        return CommandLine::usageErrorStatus;
    }
    if (!checkForAnotherInstance(mainInterface)) {
        // It already runs on this display: a second start adds nothing, and is no error.
        return 0;
    }
    Application::installSignalHandlers();
    loadTranslationsAndLooks();
    StatusBar::systemStatusBar()->request(application->requestedPlace_,
                                          application->offscreenGiven_);
    application->setGlobalEventSource(DesktopEventSource::make());
    return runEventLoop(*application, mainInterface, application->inEventLoop_);
}

}  // namespace vorelt
