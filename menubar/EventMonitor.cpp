#include "menubar/EventMonitor.h"

namespace vorelt {

EventMonitor::EventMonitor(Event::Mask mask, Event::Handler handler)
    : mask(mask), handler(std::move(handler)) {}

EventMonitor::~EventMonitor() {
    stop();
}

void EventMonitor::start() {
    // A monitor still installed would otherwise stay installed for good.
    stop();
    monitor = Event::addGlobalMonitorForEventsMatchingMask(
        mask, [handler = handler](const std::shared_ptr<Event>& event) { handler(event); });
}

void EventMonitor::stop() {
    if (!monitor) {
        return;
    }
    Event::removeMonitor(monitor);
    monitor.reset();
}

}  // namespace vorelt
