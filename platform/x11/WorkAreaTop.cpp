#include "platform/x11/WorkAreaTop.h"

#include <algorithm>

namespace vorelt {

int WorkAreaTop::topOf(const Monitor& monitor, const Desktop& desktop) {
    if (desktop.windowManager != windowManager_) {
        windowManager_ = desktop.windowManager;
        managersOwn_ = 0;
    }
    const auto within = [&monitor](int bottom) {
        return bottom > monitor.top && bottom <= monitor.bottom;
    };
    int top = monitor.top;
    int anyStrut = 0;
    for (const Strut& strut : desktop.struts) {
        anyStrut = std::max(anyStrut, strut.bottom);
        if (strut.startX <= monitor.right && strut.endX >= monitor.left && within(strut.bottom)) {
            top = std::max(top, strut.bottom);
        }
    }
    // A work area at the bar's own strip says nothing new; one that some strip explains, even on
    // another monitor, holds nothing of the manager's own.
    if (desktop.windowManager != 0 && desktop.workAreaTop && !desktop.managerBehind &&
        !reservedLately(*desktop.workAreaTop)) {
        managersOwn_ = *desktop.workAreaTop > anyStrut ? *desktop.workAreaTop : 0;
    }
    if (within(managersOwn_)) {
        top = std::max(top, managersOwn_);
    }
    return top;
}

void WorkAreaTop::reserved(int bottom) {
    if (bottom != reserved_.front()) {
        std::shift_right(reserved_.begin(), reserved_.end(), 1);
        reserved_.front() = bottom;
    }
}

bool WorkAreaTop::reservedLately(int bottom) const {
    return std::find(reserved_.begin(), reserved_.end(), bottom) != reserved_.end();
}

}  // namespace vorelt
