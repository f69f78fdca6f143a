// How long a keystroke into a long custom pattern takes, all of it: store, field and preview.
// Types 100 keys into a pattern of LENGTH characters and prints the median and the slowest.
//
//   vorelt_bench_typing LENGTH
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "model/Identifiers.h"
#include "platform/app/ServiceManagement.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "settings/SettingsViewController.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s LENGTH\n", argv[0]);
        return 2;
    }
    const int length = std::stoi(argv[1]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    vorelt::clockIdentity().adopt();
    vorelt::Services services;
    services.enableLoginItem = [](const vorelt::LoginItem&) { return true; };
    const auto settings = std::make_shared<vorelt::SettingsViewController>(services);
    settings->view();
    if (settings->shouldUseCustomDateButton()->state() != vorelt::Button::OnState) {
        settings->shouldUseCustomDateButton()->performClick();
    }
    auto* edit = qobject_cast<QLineEdit*>(settings->dateFormatTextField()->widget());
    edit->setText(QString(length, 'H'));
    std::vector<double> times;
    const QString keys = QString::fromUtf8("'mm:ss ' \u05D0\u05D1 y");
    for (int i = 0; i < 100; ++i) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(keys[i % keys.size()]));
        QElapsedTimer timer;
        timer.start();
        QCoreApplication::sendEvent(edit, &press);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    const auto stored = settings->userDefaults->stringForKey("dateFormat").value_or("");
    std::printf("keystrokes at %d characters: median %.2f ms, max %.2f ms (%zu bytes stored)\n",
                length, times[times.size() / 2], times.back(), stored.size());
    return 0;
}
