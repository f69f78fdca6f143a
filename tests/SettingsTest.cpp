#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "TestSupport.h"
#include "model/Identifiers.h"
#include "platform/app/Bundle.h"
#include "platform/app/RunningApplication.h"
#include "platform/app/ServiceManagement.h"
#include "platform/app/Workspace.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "settings/SettingsViewController.h"

namespace vorelt {
namespace {

using Field = DateFormatSettingsFields;

// A settings view on its own store and clock, with recording stand-ins for the login service and
// the list of running applications.
class SettingsView : public testing::Test {
protected:
    Services services() {
        return Services{clock.clock(), std::make_shared<Workspace>([this] {
                            std::vector<std::shared_ptr<RunningApplication>> list;
                            for (const auto& identifier : running) {
                                list.push_back(std::make_shared<RunningApplication>(identifier));
                            }
                            return list;
                        }),
                        [this](const LoginItem& item) {
                            registrations.push_back(item.identifier);
                            return loginItemWorks;
                        }};
    }
    std::shared_ptr<SettingsViewController> open() {
        auto controller = std::make_shared<SettingsViewController>(services());
        controller->view();
        return controller;
    }
    static UserDefaults& store() { return *UserDefaults::standardUserDefaults(); }
    static std::optional<std::string> pattern() { return store().stringForKey("dateFormat"); }
    static QLineEdit* field(const SettingsViewController& settings) {
        return qobject_cast<QLineEdit*>(settings.dateFormatTextField()->widget());
    }

    test::TemporaryConfigHome home;
    test::ManualClock clock{test::kMondayAfterMidnight};
    const std::string launcher{launcherBundleIdentifier};
    std::vector<std::string> registrations;
    bool loginItemWorks = true;
    std::vector<std::optional<std::string>> running{launcher};
};

// Opening shows the stored pattern, or the one the stored options compose, and saves nothing but
// the seeding of a store that has no options yet.
TEST_F(SettingsView, OpeningShowsWhatIsStoredAndKeepsAHandWrittenPattern) {
    // The file, the pattern and preview shown, whether it is custom, the pattern stored after.
    const std::tuple<const char*, const char*, const char*, bool, const char*> cases[] = {
        {"", "E MMM d  h:mm a", "Mon Dec 29  12:05 AM", false, "E MMM d  h:mm a"},
        {"shouldShowDayOfWeek=false\nshouldShowSeconds=true\ndateFormat=HH\nshouldAutoLaunch=false",
         "  HH:mm:ss", "  00:05:09", false, "HH"},
        // Written by hand before any option: kept, and custom unless the default options give it.
        {"dateFormat=\"E MMM d  HH:mm:ss\"", "E MMM d  HH:mm:ss", "Mon Dec 29  00:05:09", true,
         "E MMM d  HH:mm:ss"},
        {"dateFormat=\"E MMM d  h:mm a\"", "E MMM d  h:mm a", "Mon Dec 29  12:05 AM", false,
         "E MMM d  h:mm a"},
        // A pair of hour options that says both, or neither as above, loads as AM/PM says.
        {"shouldShowDayOfWeek=true\nshouldUseAMPM=true\nshouldUse24Hour=true\ndateFormat=HH",
         "E  h:mm a", "Mon  12:05 AM", false, "HH"},
    };
    for (const auto& [file, shown, preview, custom, stored] : cases) {
        SCOPED_TRACE(file);
        const test::TemporaryConfigHome fresh;
        fresh.writeStore(QByteArray("[General]\n") + file + "\n");
        const auto settings = open();
        EXPECT_EQ(settings->dateFormatTextField()->stringValue(), shown);
        EXPECT_EQ(settings->dateFormatLabel()->stringValue(), preview);
        EXPECT_EQ(settings->dateFormatTextField()->isEnabled(), custom);
        EXPECT_EQ(pattern(), stored);
        EXPECT_EQ(settings->launchAutomaticallyButton()->state() == Button::OnState,
                  store().boolForKey("shouldAutoLaunch"));
    }
}

// Each option change writes all nine options, then the pattern they compose; custom mode starts
// from the composed pattern, and leaving it composes it again.
TEST_F(SettingsView, OptionChangesWriteEveryOptionAndCustomModeStartsFromTheirPattern) {
    const auto settings = open();
    store().setObject("stale", "shouldShowSeconds");  // rewritten from its checkbox by any change
    settings->shouldShowYearButton()->performClick();
    EXPECT_EQ(store().stringForKey("shouldShowSeconds"), "false");
    settings->shouldUseCustomDateButton()->performClick();
    EXPECT_EQ(pattern(), "E MMM d, y  h:mm a");
    for (const Field option : Field::allCases()) {
        const bool stays =
            option == Field::shouldFlashSeparator || option == Field::shouldUseCustomFormat;
        EXPECT_EQ(settings->buttonFor(option)->isEnabled(), stays) << option.rawValue();
    }
    QTest::keyClicks(field(*settings), "!");
    settings->shouldUseCustomDateButton()->performClick();
    EXPECT_FALSE(settings->dateFormatTextField()->isEnabled());
    EXPECT_EQ(pattern(), "E MMM d, y  h:mm a");
}

// Every keystroke stores the whole text and previews it; typing inside keeps the caret and undo;
// text of any length or script is stored as it was entered.
TEST_F(SettingsView, TypedPatternsAreStoredAsTheyAreAtTheCaret) {
    const auto settings = open();
    settings->shouldUseCustomDateButton()->performClick();
    QLineEdit* edit = field(*settings);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(pattern(), "");
    QTest::keyClicks(edit, "HH:mm");
    EXPECT_EQ(settings->dateFormatLabel()->stringValue(), "00:05");

    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClicks(edit, "ab");
    QTest::keySequence(edit, QKeySequence("Right, Right"));
    QTest::keyClicks(edit, "x");
    EXPECT_EQ(pattern(), "abHHx:mm");
    QTest::keySequence(edit, QKeySequence::Undo);
    EXPECT_EQ(pattern(), "abHH:mm");

    // Far past the 32767 characters a line edit takes by default; right-to-left text, an
    // unterminated quote, a control character and letters beyond the first plane.
    edit->setText(QString(100000, 'y'));
    QTest::keyClicks(edit, " 'open");
    edit->insert(QString::fromUtf8("\u05D0\u200F\u0001\U0001F550\U00020000"));
    EXPECT_EQ(pattern(), std::string(100000, 'y') + " 'open\u05D0\u200F\u0001\U0001F550\U00020000");
    EXPECT_FALSE(settings->dateFormatLabel()->stringValue().empty());
}

// The mouse and Space each send a checkbox's action exactly once.
TEST_F(SettingsView, AClickOrSpaceOnABoxSendsItsActionOnce) {
    const auto settings = open();
    settings->view()->widget()->show();
    const auto box = settings->launchAutomaticallyButton();
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"mouse", [&] { QTest::mouseClick(box->widget(), Qt::LeftButton); }},
        {"Space", [&] { QTest::keyClick(box->widget(), Qt::Key_Space); }},
    };
    for (const auto& [way, act] : ways) {
        SCOPED_TRACE(way);
        registrations.clear();
        const bool before = store().boolForKey("shouldAutoLaunch");
        act();
        EXPECT_EQ(registrations, std::vector<std::string>{launcher});
        EXPECT_EQ(store().boolForKey("shouldAutoLaunch"), !before);
    }
}

// Opening registers the login item exactly when the running launcher and the choice disagree.
TEST_F(SettingsView, OpeningRegistersTheLoginItemOnlyWhenRunningAndChoiceDisagree) {
    const std::tuple<std::vector<std::optional<std::string>>, bool, std::size_t> cases[] = {
        {{std::nullopt, "org.example.Other"}, true, 1},
        {{std::nullopt, launcher}, false, 1},
        {{}, false, 0},
        {{"org.example.Other", launcher}, true, 0},
    };
    for (const auto& [list, choice, calls] : cases) {
        const test::TemporaryConfigHome fresh;
        registrations.clear();
        running = list;
        store().setBool(choice, "shouldAutoLaunch");
        open();
        EXPECT_EQ(registrations, std::vector<std::string>(calls, launcher)) << choice;
    }
}

// One line names the folder that cannot take the settings, in the user's language.
TEST_F(SettingsView, AStoreThatCannotSaveSaysSoInTheWindow) {
    EXPECT_TRUE(open()->saveStatusLabel()->isHidden());
    // A file where the settings folder should be: nothing can be saved there, even by root.
    const test::TemporaryConfigHome broken;
    const QString folder = broken.home() + "/vorelt";
    ASSERT_TRUE(QFile(folder).open(QIODevice::WriteOnly));
    ASSERT_TRUE(Bundle::loadLocalization("ja_JP", VORELT_TRANSLATIONS_BUILT));
    const auto settings = open();
    settings->shouldShowSecondsButton()->performClick();
    EXPECT_FALSE(settings->saveStatusLabel()->isHidden());
    EXPECT_EQ(settings->saveStatusLabel()->stringValue(),
              folder.toStdString() + " に設定を保存できません。");
    Bundle::loadLocalization("");
}

// Where the login item cannot be turned on, its program missing, the window says so while the box
// is ticked.
TEST_F(SettingsView, ALaunchAtLoginThatCannotWorkSaysSoWhileTicked) {
    loginItemWorks = false;
    running.clear();
    const auto settings = open();
    EXPECT_FALSE(settings->saveStatusLabel()->isHidden());
    EXPECT_EQ(settings->saveStatusLabel()->stringValue(),
              "Launch at login can't work here: vorelt-launcher is not installed.");
    settings->launchAutomaticallyButton()->performClick();
    EXPECT_TRUE(settings->saveStatusLabel()->isHidden());
}

// Neither of two windows undoes the other's changes, and each shows them once the event loop has
// turned.
TEST_F(SettingsView, TwoWindowsKeepEachOtherUpToDate) {
    const auto first = open();
    const auto second = open();
    second->shouldShowYearButton()->performClick();
    first->shouldUseCustomDateButton()->performClick();  // before it has heard of the year
    ASSERT_TRUE(test::waitFor([&] { return second->dateFormatTextField()->isEnabled(); }));
    QTest::keyClicks(field(*first), "!");
    ASSERT_TRUE(test::waitFor(
        [&] { return second->dateFormatTextField()->stringValue() == "E MMM d, y  h:mm a!"; }));
    second->shouldFlashSeparatorButton()->performClick();
    EXPECT_EQ(pattern(), "E MMM d, y  h:mm a!");
}

// The button runs the running desktop's own date and time tool, else any that is installed.
TEST_F(SettingsView, DateAndTimeButtonRunsTheDesktopsOwnTool) {
    const QTemporaryDir bin;
    const QString ran = bin.path() + "/ran";
    for (const char* tool : {"gnome-control-center", "xfce4-datetime-settings"}) {
        QFile script(bin.path() + "/" + tool);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QByteArray("#!/bin/sh\necho \"$0 $*\" >>") + ran.toUtf8() + "\n");
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());
    const auto settings = open();
    for (const char* desktop : {"ubuntu:XFCE", "Unknown"}) {
        qputenv("XDG_CURRENT_DESKTOP", desktop);
        settings->openDateTimePrefsButtonPressed(nullptr);
        ASSERT_TRUE(test::waitFor([&] { return test::readFile(ran).count('\n') == 1; })) << desktop;
        QFile::rename(ran, ran + "." + desktop);
    }
    qputenv("PATH", path);
    qunsetenv("XDG_CURRENT_DESKTOP");
    EXPECT_EQ(test::readFile(ran + ".ubuntu:XFCE"), bin.path() + "/xfce4-datetime-settings \n");
    EXPECT_EQ(test::readFile(ran + ".Unknown"), bin.path() + "/gnome-control-center datetime\n");
}

// An option ticked in one window keeps what the other changed before this one heard of it.
TEST_F(SettingsView, AnOptionTickedInOneWindowKeepsTheOthersChange) {
    const auto first = open();
    const auto second = open();
    second->shouldShowYearButton()->performClick();
    first->shouldShowSecondsButton()->performClick();
    EXPECT_EQ(pattern(), "E MMM d, y  h:mm:ss a");
    EXPECT_TRUE(store().boolForKey("shouldShowYear"));
    ASSERT_TRUE(test::waitFor(
        [&] { return second->dateFormatTextField()->stringValue() == "E MMM d, y  h:mm:ss a"; }));
    EXPECT_EQ(first->shouldShowYearButton()->state(), Button::OnState);
}

// Where a hand edit left a pattern the options do not compose, the window shows the options'
// pattern; ticking Custom starts from that one, as shown.
TEST_F(SettingsView, CustomStartsFromThePatternShownNotAStaleStoredOne) {
    home.writeStore(
        "[General]\nshouldShowDayOfWeek=false\nshouldShowSeconds=true\ndateFormat=HH\n");
    const auto settings = open();
    settings->shouldUseCustomDateButton()->performClick();
    EXPECT_EQ(settings->dateFormatTextField()->stringValue(), "  HH:mm:ss");
    EXPECT_EQ(pattern(), "  HH:mm:ss");
    EXPECT_EQ(settings->dateFormatLabel()->stringValue(), "  00:05:09");
}

}  // namespace
}  // namespace vorelt
