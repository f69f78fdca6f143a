#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/NextTurn.h"
#include "platform/statusbar/StatusBarHost.h"

namespace vorelt {

// The status bar without a display: each new title is written to a file descriptor as one line,
// so that bar programs (polybar, i3blocks, waybar) can show it. On a terminal the line is
// rewritten in place instead. Only the last title set in a turn of the event loop is written, so a
// placeholder replaced at once never shows. When the reader has gone (the bar program was
// restarted), the application terminates: nobody will ever read the clock again.
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
    void readerGone();

    struct ReaderWatch;
    std::unique_ptr<ReaderWatch> readerWatch_;
    int fd_;
    bool terminal_;
    bool wrote_ = false;
    std::string shown_;
    std::vector<StatusItem*> items_;
    NextTurn changed_{[this] { writeTitles(); }};
};

}  // namespace vorelt
