#pragma once

#include <string>
#include <vector>

#include "platform/StatusBarHost.h"

namespace vorelt {

// The status bar without a display: each new title is written to a file descriptor as one line,
// so that bar programs (polybar, i3blocks, waybar) can show it. On a terminal the line is
// rewritten in place instead.
class StatusLine : public StatusBarHost {
public:
    explicit StatusLine(int fd);
    ~StatusLine() override;

    void addItem(StatusItem& item) override;
    void removeItem(StatusItem& item) override;
    void itemChanged(StatusItem& item) override;
    Rect screenFrameOfItem(const StatusItem& item) const override;

private:
    void show(const std::string& line);
    void writeAll(const std::string& bytes);

    int fd_;
    bool terminal_;
    bool wrote_ = false;
    std::string shown_;
    std::vector<StatusItem*> items_;
};

}  // namespace vorelt
