#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Object.h"
#include "platform/ui/View.h"

namespace vorelt {

// Controls one view: a Qt Designer .ui resource named after the controller, read by QUiLoader.
// It is loaded on first use. Loading connects the controller's outlets by object name and gives
// each button the action named by its "action" property; then awakeFromNib and viewDidLoad run.
class ViewController : public Object {
public:
    // An empty nib name loads the resource named after the class.
    ViewController(std::string nibName, std::string className);
    ~ViewController() override;

    std::shared_ptr<View> view();
    bool isViewLoaded() const { return static_cast<bool>(view_); }

    virtual void awakeFromNib();
    virtual void viewDidLoad();
    virtual void viewWillAppear();

    // The resource connects each named control to the outlet of that name, if the controller has
    // one.
    virtual void setOutlet(const std::string& name, const std::shared_ptr<View>& control);

    // The window controller whose window shows this view, if any.
    void setNextResponder(const std::shared_ptr<Object>& responder) { nextResponder_ = responder; }
    std::shared_ptr<Object> nextResponder() override { return nextResponder_.lock(); }

    // Every control of the loaded view, by the resource's order.
    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }

private:
    void loadView();

    std::string nibName_;
    std::string className_;
    std::shared_ptr<View> view_;
    std::vector<std::shared_ptr<View>> subviews_;
    std::weak_ptr<Object> nextResponder_;
};

}  // namespace vorelt
