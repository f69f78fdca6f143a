#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Object.h"

class QWidget;

namespace vorelt {

class ViewController;

// Controls one window: a Qt Designer .ui resource read by QUiLoader into a top-level QWidget.
// It is loaded on first use from the resource of the given name, with a content view controller
// whose view fills it. A shown window keeps its controller (and so the content controller) alive
// until the user closes it; then all three are released.
class WindowController : public Object {
public:
    explicit WindowController(std::string windowNibName);
    ~WindowController() override;

    void setContentViewController(const std::shared_ptr<ViewController>& controller);
    std::shared_ptr<ViewController> contentViewController() const { return content_; }

    // Loads the window if needed and brings it on screen.
    void showWindow(Object* sender);
    // Closes the window as the user would.
    void close();

    virtual void windowDidLoad();
    // The window's title; by default the resource's own title.
    virtual std::string windowTitleForDocumentDisplayName(const std::string& displayName);

    const std::string& windowNibName() const { return windowNibName_; }

    // The windows that are open now, in the order they were shown.
    static std::vector<std::shared_ptr<WindowController>> openWindows();
    // How many (tests use it to see that closed ones are released).
    static int openWindowCount();
    // Drops every open window, before the windowing system goes away.
    static void releaseOpenWindows();

private:
    void loadWindow();

    std::string windowNibName_;
    std::shared_ptr<ViewController> content_;
    QWidget* window_ = nullptr;
};

}  // namespace vorelt
