#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/foundation/Identity.h"
#include "platform/foundation/Object.h"
#include "platform/statusbar/StatusBarHostRule.h"

namespace vorelt {

// What the application tells its delegate about its life.
class ApplicationDelegate : public Object {
public:
    virtual void applicationDidFinishLaunching(Object* notification);
    virtual void applicationWillTerminate(Object* notification);
};

struct MainInterface;

// The running application: its event loop, its delegate and the dispatch of actions.
class Application : public Object {
public:
    static std::shared_ptr<Application> sharedApplication();

    std::shared_ptr<ApplicationDelegate> delegate() const { return delegate_; }
    void setDelegate(std::shared_ptr<ApplicationDelegate> delegate);

    // Sends an action to `target`, or with none to the first responder that answers it, ending at
    // the application's delegate. False when nobody answered.
    bool sendAction(const Selector& action, Object* target, Object* sender);
    // Who sendAction would run `action` on; none when nobody answers it.
    std::shared_ptr<Object> receiverForAction(const Selector& action, Object* target,
                                              Object* sender);

    // Tells the delegate, then ends the event loop and the process with status 0.
    void terminate(Object* sender);
    // Replaces what ends the process after the delegate was told (tests keep their process).
    void setTerminationHandler(std::function<void()> handler);

    // SIGTERM, SIGINT and SIGHUP terminate the application from its event loop.
    static void installSignalHandlers();

    // True when the application has a display to show windows on.
    static bool hasDisplay();
    // Where --show-in asked the status bar to be; automatic without it.
    static StatusBarHostRule::Place requestedStatusBarPlace();
    // True when the program was started with QT_QPA_PLATFORM=offscreen.
    static bool offscreenAskedFor();
    // True in a Wayland session (WAYLAND_DISPLAY is set), on XWayland too: the compositor then
    // decides where windows go and which has the focus, and X11 sees no clicks in Wayland
    // windows.
    static bool inWaylandSession();
    // Whether a dock window along the top keeps its place and strip here: not under a window
    // manager that ignores docks' strips, nor on Wayland.
    static bool docksKeepTheirStrip();
    // Gives the memory that start-up or a closed window left free back to the system, a moment
    // later: the clock runs for days, with little in use between the windows.
    static void returnFreeMemorySoon();
    // True while ApplicationMain runs the event loop.
    bool inEventLoop() const { return inEventLoop_; }

    Action actionForSelector(const Selector& selector) override;

private:
    std::shared_ptr<ApplicationDelegate> delegate_;
    std::function<void()> terminationHandler_;
    bool terminating_ = false;
    // What the command line and the environment asked for at start.
    StatusBarHostRule::Place requestedPlace_ = StatusBarHostRule::Place::automatic;
    bool offscreenGiven_ = false;
    bool inEventLoop_ = false;
    bool listeningForSignals_ = false;

    friend int ApplicationMain(int argc, char* argv[], const MainInterface& mainInterface);
};

// What a program tells the platform layer about itself: who it is, and how to make the delegate
// that its launch hands control to.
struct MainInterface {
    // Its names; the application identifier is announced among the running applications while it
    // runs.
    Identity identity;
    // Makes the application's delegate.
    std::function<std::shared_ptr<ApplicationDelegate>()> instantiate;
    // Whether it takes the clock's options (--help, --version, --show-in); else it ignores its
    // arguments.
    bool readsCommandLine = false;
};

// Runs the application: reads the command line where it takes one (--help, --version and errors
// end it at once), sets up the windowing system (standard output stands in for the status bar
// without a display), creates the delegate, tells it that launching finished and runs the event
// loop until the application terminates. SIGTERM, SIGINT and SIGHUP terminate it too. When
// the same identifier already runs on this display it returns 0 at once, before any window.
int ApplicationMain(int argc, char* argv[], const MainInterface& mainInterface);

}  // namespace vorelt
