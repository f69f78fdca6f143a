// How the one-second timer follows a wall clock that is stepped: it runs on a clock that jumps
// forward and back by fractions of seconds, and prints, for every firing, how far after the whole
// second of that clock it came.
#include <QCoreApplication>

#include <chrono>
#include <cmath>
#include <cstdio>

#include "platform/foundation/Date.h"
#include "platform/foundation/Timer.h"

namespace {

using vorelt::Date;

double realNow() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

class Recorder : public vorelt::Object {
public:
    int ticks = 0;
    double* offset = nullptr;

    vorelt::Action actionForSelector(const vorelt::Selector& selector) override {
        if (selector != "tick") {
            return {};
        }
        return [this](vorelt::Object*) {
            const double now = Date::now().timeIntervalSince1970();
            const double past = (now - std::floor(now)) * 1000.0;
            ++ticks;
            std::printf("%d %.1f%s\n", ticks, past > 500 ? past - 1000 : past,
                        (ticks == 4 || ticks == 9) ? " step" : "");
            std::fflush(stdout);
            // Steps right after a firing, as a time synchronisation would at any moment.
            if (ticks == 4) {
                *offset += 2.4;
            } else if (ticks == 9) {
                *offset -= 3.7;
            } else if (ticks == 14) {
                QCoreApplication::quit();
            }
        };
    }
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    double offset = 0.0;
    Date::setClock([&offset] { return Date(realNow() + offset); });
    const auto recorder = std::make_shared<Recorder>();
    recorder->offset = &offset;
    const auto timer = vorelt::Timer::scheduledTimerWithTimeInterval(1.0, recorder, "tick");
    const int status = QCoreApplication::exec();
    timer->invalidate();
    return status;
}
