#include "platform/foundation/NextTurn.h"

#include <QCoreApplication>

namespace vorelt {

NextTurn::NextTurn(std::function<void()> run) : run_(std::move(run)) {
    timer_.setSingleShot(true);
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] { run_(); });
}

void NextTurn::schedule() {
    if (QCoreApplication::instance() == nullptr) {
        run_();
    } else if (!timer_.isActive()) {
        timer_.start();
    }
}

}  // namespace vorelt
