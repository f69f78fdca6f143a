// The reference clocks: a minimal Qt Widgets clock (a button whose text a plain 1000 ms timer
// sets), or with --headless the same timer writing the time to standard output.
#include <QApplication>
#include <QDateTime>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    const bool headless = argc > 1 && std::strcmp(argv[1], "--headless") == 0;
    if (headless) {
        QCoreApplication application(argc, argv);
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [] {
            std::printf("%s\n", qPrintable(QDateTime::currentDateTime().toString("HH:mm:ss")));
            std::fflush(stdout);
        });
        timer.start(1000);
        return QCoreApplication::exec();
    }
    QApplication application(argc, argv);
    QPushButton button;
    button.setWindowTitle("plain-qt-clock");
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&button] {
        button.setText(QDateTime::currentDateTime().toString("ddd MMM d  h:mm:ss AP"));
    });
    timer.start(1000);
    button.show();
    return QApplication::exec();
}
