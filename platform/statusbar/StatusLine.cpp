#include "platform/statusbar/StatusLine.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>

#include "platform/foundation/ActionDispatcher.h"
#include "platform/statusbar/StatusBarButton.h"
#include "platform/statusbar/StatusItem.h"

namespace vorelt {

// A pipe's writing end reports an error as soon as its reader closes it, so the clock need not
// wait for its next title to learn that.
struct StatusLine::ReaderWatch {
    std::unique_ptr<QSocketNotifier> notifier;
};

StatusLine::StatusLine(int fd)
    : readerWatch_(std::make_unique<ReaderWatch>()), fd_(fd), terminal_(isatty(fd) == 1) {
    struct stat info = {};
    if (QCoreApplication::instance() == nullptr || ::fstat(fd, &info) != 0 ||
        !S_ISFIFO(info.st_mode)) {
        return;
    }
    readerWatch_->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(readerWatch_->notifier.get(), &QSocketNotifier::activated, [this] {
        pollfd state = {fd_, 0, 0};
        if (::poll(&state, 1, 0) == 1 && (state.revents & (POLLERR | POLLHUP)) != 0) {
            readerGone();
        } else {
            // Readable, as a fifo opened for both reading and writing is: writes will tell.
            readerWatch_->notifier->setEnabled(false);
        }
    });
}

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
        if (n < 0 && errno == EPIPE) {
            readerGone();
        }
        if (n <= 0) {
            return;
        }
        done += static_cast<std::size_t>(n);
    }
}

void StatusLine::readerGone() {
    if (readerWatch_->notifier) {
        readerWatch_->notifier->setEnabled(false);
    }
    ActionDispatcher::terminateApplication();
}

}  // namespace vorelt
