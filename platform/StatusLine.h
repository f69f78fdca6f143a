#pragma once

#include <string>
#include <vector>

#include "platform/NextTurn.h"
#include "platform/StatusBarHost.h"

namespace vorelt {

// The status bar without a display: each new title is written to a file descriptor as one line,
// so that bar programs (polybar, i3blocks, waybar) can show it. On a terminal the line is
// rewritten in place instead. Only the last title set in a turn of the event loop is written, so a
// placeholder replaced at once never shows.
class StatusLine : public StatusBarHost {
public:
    explicit StatusLine(int fd);
    ~StatusLine() override;

    void addItem(StatusItem& item) override;
    void removeItem(StatusItem& item) override;
    void itemChanged(StatusItem& item) override;
    Rect screenFrameOfItem(const StatusItem& item) const override;

private:
    void writeTitles();
    void show(const std::string& line);
    void writeAll(const std::string& bytes);

    int fd_;
    bool terminal_;
    bool wrote_ = false;
    std::string shown_;
    std::vector<StatusItem*> items_;
    NextTurn changed_{[this] { writeTitles(); }};
};

}  // namespace vorelt
