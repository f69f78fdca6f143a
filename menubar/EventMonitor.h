#pragma once

#include <memory>

#include "platform/ui/Event.h"

namespace vorelt {

// A global monitor of input events that is installed only between start and stop.
class EventMonitor {
public:
    EventMonitor(Event::Mask mask, Event::Handler handler);
    ~EventMonitor();
    EventMonitor(const EventMonitor&) = delete;
    EventMonitor& operator=(const EventMonitor&) = delete;

    void start();
    void stop();

    bool isStarted() const { return static_cast<bool>(monitor); }

    std::shared_ptr<Object> monitor;
    const Event::Mask mask;
    const Event::Handler handler;
};

}  // namespace vorelt
