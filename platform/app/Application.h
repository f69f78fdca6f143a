#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/foundation/ActionDispatcher.h"
#include "platform/foundation/Identity.h"
#include "platform/foundation/Object.h"
#include "platform/statusbar/StatusBarHostRule.h"

namespace vorelt {

class GlobalEventSource;

// Calls around the QApplication event loop: launching finished, and termination is near.
class ApplicationDelegate : public Object {
public:
    virtual void applicationDidFinishLaunching(Object* notification);
    virtual void applicationWillTerminate(Object* notification);
};

struct MainInterface;

// The program's QApplication: its event loop, ended too by SIGTERM, SIGINT and SIGHUP.
// It holds the delegate and dispatches actions.
class Application : public Object, public ActionDispatcher {
public:
    static std::shared_ptr<Application> sharedApplication();

    std::shared_ptr<ApplicationDelegate> delegate() const { return delegate_; }
    void setDelegate(std::shared_ptr<ApplicationDelegate> delegate);
    // Where the global event monitors' events come from, kept until the application ends.
    void setGlobalEventSource(std::shared_ptr<GlobalEventSource> source);

    // Sends an action to `target`, or with none to the first responder that answers it, ending at
    // the application's delegate. False when nobody answered.
    bool sendAction(const Selector& action, Object* target, Object* sender) override;
    // Who sendAction would run `action` on; none when nobody answers it.
    std::shared_ptr<Object> receiverForAction(const Selector& action, Object* target,
                                              Object* sender);

    // Tells the delegate, then ends the event loop and the process with status 0.
    void terminate(Object* sender) override;
    // Replaces what ends the process after the delegate was told (tests keep their process).
    void setTerminationHandler(std::function<void()> handler);

    // SIGTERM, SIGINT and SIGHUP terminate the application from its event loop.
    static void installSignalHandlers();

    // True while ApplicationMain runs the event loop.
    bool inEventLoop() const { return inEventLoop_; }

    Action actionForSelector(const Selector& selector) override;

private:
    // Lets go of the delegate and the event source while the toolkit still runs: the delegate
    // owns windows.
    void end();

    std::shared_ptr<ApplicationDelegate> delegate_;
    std::shared_ptr<GlobalEventSource> globalEventSource_;
    std::function<void()> terminationHandler_;
    bool terminating_ = false;
    // What the command line and the environment asked for at start.
    StatusBarHostRule::Place requestedPlace_ = StatusBarHostRule::Place::automatic;
    bool offscreenGiven_ = false;
    bool inEventLoop_ = false;
    bool listeningForSignals_ = false;

    friend int ApplicationMain(int argc, char* argv[], const MainInterface& mainInterface);
};

// What main() hands ApplicationMain, which builds the QApplication around it.
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
