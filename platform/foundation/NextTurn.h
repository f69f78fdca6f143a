#pragma once

#include <QTimer>

#include <functional>

namespace vorelt {

// A single-shot QTimer of no interval on the Qt event loop.
// Runs a function once at the next turn of the event loop, however often it was asked for in
// this one: what leaves the program then is only the last of several changes made together.
class NextTurn {
public:
    explicit NextTurn(std::function<void()> run);
    NextTurn(const NextTurn&) = delete;
    NextTurn& operator=(const NextTurn&) = delete;

    // Without an event loop to wait for, runs at once.
    void schedule();

private:
    std::function<void()> run_;
    QTimer timer_;
};

}  // namespace vorelt
