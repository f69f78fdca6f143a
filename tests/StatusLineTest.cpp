#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "TestSupport.h"
#include "platform/app/Application.h"
#include "platform/statusbar/StatusBar.h"
#include "platform/statusbar/StatusLine.h"

namespace vorelt {
namespace {

std::string drain(int fd) {
    std::string out;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

// A bar whose one item is shown by a status line on `fd`.
struct LineBar {
    explicit LineBar(int fd) {
        bar.setHost(std::make_unique<StatusLine>(fd));
        item = bar.statusItemWithLength(StatusBar::VariableStatusItemLength);
    }
    // Sets the title and lets the event loop take one turn, as it does between two ticks.
    void show(const std::string& title) {
        item->button()->setTitle(title);
        QCoreApplication::processEvents();
    }
    StatusBar bar;
    std::shared_ptr<StatusItem> item;
};

TEST(StatusLine, WritesTheLastTitleOfATurnOnceAsOneLine) {
    int fds[2];
    ASSERT_EQ(::pipe2(fds, O_NONBLOCK), 0);
    {
        LineBar line(fds[1]);
        // The launch sets a placeholder and the first title in one turn: only the title leaves.
        line.item->button()->setTitle("Time");
        for (const char* title : {"Mon 10:00", "Mon 10:00", "two\nlines", ""}) {
            line.show(title);
        }
        EXPECT_EQ(drain(fds[0]), "Mon 10:00\ntwo lines\n\n");
    }
    ::close(fds[0]);
    ::close(fds[1]);
}

TEST(StatusLine, RewritesTheLineInPlaceOnATerminal) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
    const int terminal = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    {
        LineBar line(terminal);
        line.show("10:00");
        line.show("10:01");
    }
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    // The terminal turns the last \n into \r\n.
    EXPECT_EQ(drain(master), "\r10:00\x1b[K\r10:01\x1b[K\r\n");
    ::close(terminal);
    ::close(master);
}

// Each restart of a bar program would otherwise leave one more clock behind, writing into a
// closed pipe for ever.
TEST(StatusLine, AReaderThatHasGoneEndsTheApplication) {
    std::signal(SIGPIPE, SIG_IGN);
    int terminations = 0;
    Application::sharedApplication()->setTerminationHandler([&terminations] { ++terminations; });
    // A pipe tells at once that its reader has gone; a socket only when written to.
    for (const bool pipe : {true, false}) {
        SCOPED_TRACE(pipe ? "pipe, noticed while idle" : "socket, noticed on writing");
        terminations = 0;
        int fds[2];
        ASSERT_EQ(pipe ? ::pipe(fds) : ::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
        ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
        {
            LineBar line(fds[1]);
            line.show("read");
            EXPECT_TRUE(test::waitFor([&] { return !drain(fds[0]).empty(); }, 1000));
            EXPECT_EQ(terminations, 0);
            ::close(fds[0]);
            if (!pipe) {
                line.show("not read");
            }
            EXPECT_TRUE(test::waitFor([&] { return terminations >= 1; }, 1000));
        }
        ::close(fds[1]);
    }
    Application::sharedApplication()->setTerminationHandler({});
}

}  // namespace
}  // namespace vorelt
