#include "platform/StatusLine.h"

#include <unistd.h>
#include <algorithm>
#include <cerrno>

#include "platform/StatusBarButton.h"
#include "platform/StatusItem.h"

namespace vorelt {

StatusLine::StatusLine(int fd) : fd_(fd), terminal_(isatty(fd) == 1) {}

StatusLine::~StatusLine() {
    if (terminal_ && wrote_) {
        writeAll("\n");
    }
}

void StatusLine::addItem(StatusItem& item) {
    // Nothing to show until the item gets a title.
    items_.push_back(&item);
}

void StatusLine::removeItem(StatusItem& item) {
    items_.erase(std::remove(items_.begin(), items_.end(), &item), items_.end());
}

void StatusLine::itemChanged(StatusItem&) {
    changed_.schedule();
}

void StatusLine::writeTitles() {
    std::string line;
    for (const StatusItem* item : items_) {
        if (const auto button = item->button()) {
            if (!line.empty()) {
                line += "  ";
            }
            line += button->title();
        }
    }
    // Titles may hold anything the user typed; a line break would split the line in two.
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    show(line);
}

Rect StatusLine::screenFrameOfItem(const StatusItem&) const {
    return Rect{};
}

void StatusLine::show(const std::string& line) {
    if (wrote_ && line == shown_) {
        return;
    }
    shown_ = line;
    wrote_ = true;
    writeAll(terminal_ ? "\r" + line + "\x1b[K" : line + "\n");
}

void StatusLine::writeAll(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;  // a closed reader must not stop the clock
        }
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace vorelt
