#include <gtest/gtest.h>

#include <QAccessible>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSettings>

#include "TestSupport.h"
#include "model/Identifiers.h"
#include "model/Preferences.h"
#include "platform/app/Application.h"
#include "platform/app/Bundle.h"
#include "platform/app/RunningApplication.h"
#include "platform/app/ServiceManagement.h"
#include "platform/app/Workspace.h"
#include "platform/foundation/URL.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "settings/SettingsViewController.h"
#include "settings/SettingsWindowController.h"

namespace vorelt {
namespace {

using Field = DateFormatSettingsFields;

// A settings view on its own store, with recording stand-ins for the login service, the list of
// running applications and the opening of URLs.
class SettingsView : public testing::Test {
protected:
    void SetUp() override {
        setLoginItemServiceForTesting([this](std::string_view identifier) {
            registrations.emplace_back(identifier);
            return true;
        });
        Workspace::setRunningApplicationsForTesting([this] {
            std::vector<std::shared_ptr<RunningApplication>> list;
            for (const auto& identifier : running) {
                list.push_back(std::make_shared<RunningApplication>(identifier));
            }
            return list;
        });
        Workspace::setURLOpenerForTesting([this](const URL& url) {
            opened.push_back(url.absoluteString());
            return true;
        });
    }
    void TearDown() override {
        setLoginItemServiceForTesting({});
        Workspace::setRunningApplicationsForTesting({});
        Workspace::setURLOpenerForTesting({});
    }

    std::shared_ptr<SettingsViewController> open() {
        auto controller = std::make_shared<SettingsViewController>();
        controller->view();
        return controller;
    }
    UserDefaults& store() { return *UserDefaults::standardUserDefaults(); }
    std::vector<bool> storedOptions() {
        std::vector<bool> values;
        for (const Field field : Field::allCases()) {
            values.push_back(store().boolForKey(field.rawValue()));
        }
        return values;
    }
    // Types into the field as a person would, one key at a time.
    static void type(const TextField& field, const QString& text) {
        auto* edit = qobject_cast<QLineEdit*>(field.widget());
        ASSERT_NE(edit, nullptr);
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(edit, &press);
        }
    }
    static void press(const TextField& field, Qt::Key key,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(field.widget(), &event);
    }
    static void clear(const TextField& field) {
        auto* edit = qobject_cast<QLineEdit*>(field.widget());
        edit->selectAll();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QCoreApplication::sendEvent(edit, &press);
    }

    test::TemporaryConfigHome home;
    test::ManualClock clock{test::kMondayAfterMidnight};
    std::vector<std::string> registrations;
    std::vector<std::optional<std::string>> running;
    std::vector<std::string> opened;
};

TEST_F(SettingsView, FirstLoadSeedsDefaultsAndNothingElse) {
    const auto settings = open();
    EXPECT_TRUE(settings->readyForSaving);
    EXPECT_EQ(storedOptions(),
              (std::vector<bool>{true, true, false, false, false, false, true, false, false}));
    EXPECT_EQ(store().stringForKey("dateFormat"), "E MMM d  h:mm a");
    EXPECT_TRUE(store().boolForKey("shouldAutoLaunch"));
    QSettings file(home.storePath(), QSettings::IniFormat);
    EXPECT_EQ(file.allKeys().size(), 11);
    EXPECT_EQ(settings->launchAutomaticallyButton()->state(), Button::OnState);
    EXPECT_EQ(settings->dateFormatTextField()->stringValue(), "E MMM d  h:mm a");
    EXPECT_EQ(settings->dateFormatLabel()->stringValue(), "Mon Dec 29  12:05 AM");
    EXPECT_FALSE(settings->dateFormatTextField()->isEnabled());
}

TEST_F(SettingsView, LoadingShowsTheComposedPatternWithoutStoringIt) {
    store().setBool(false, "shouldShowDayOfWeek");
    store().setBool(true, "shouldShowSeconds");
    store().setObject("HH", "dateFormat");
    store().setBool(false, "shouldAutoLaunch");
    const auto settings = open();
    EXPECT_FALSE(store().objectForKey("shouldShowDate")) << "a present first option stops seeding";
    EXPECT_EQ(settings->dateFormatTextField()->stringValue(), "  HH:mm:ss");
    EXPECT_EQ(settings->dateFormatLabel()->stringValue(), "  00:05:09");
    EXPECT_EQ(store().stringForKey("dateFormat"), "HH") << "opening the view saves nothing";
    EXPECT_FALSE(store().boolForKey("shouldAutoLaunch"));
    EXPECT_EQ(settings->launchAutomaticallyButton()->state(), Button::OffState);
}

TEST_F(SettingsView, LoadingInCustomModeShowsTheStoredPattern) {
    Preferences::seedDateFormatOptions(store());
    store().setBool(true, "shouldUseCustomFormat");
    store().setObject(" 'custom' HH ", "dateFormat");
    const auto settings = open();
    EXPECT_EQ(settings->dateFormatTextField()->stringValue(), " 'custom' HH ");
    EXPECT_EQ(settings->dateFormatLabel()->stringValue(), " custom 00 ");
    EXPECT_TRUE(settings->dateFormatTextField()->isEnabled());
    EXPECT_FALSE(settings->shouldShowDateButton()->isEnabled());
}

TEST_F(SettingsView, EveryOptionChangeWritesAllNineKeysAndThePattern) {
    const auto settings = open();
    store().setObject("stale", "shouldShowYear");  // rewritten from the checkbox by any change
    settings->shouldShowSecondsButton()->performClick();
    EXPECT_EQ(storedOptions(),
              (std::vector<bool>{true, true, false, true, false, false, true, false, false}));
    EXPECT_EQ(store().stringForKey("shouldShowYear"), "false");
    EXPECT_EQ(store().stringForKey("dateFormat"), "E MMM d  h:mm:ss a");

    settings->shouldFlashSeparatorButton()->performClick();
    EXPECT_EQ(store().stringForKey("dateFormat"), "E MMM d  h:mm:ss a");
    EXPECT_TRUE(store().boolForKey("shouldFlashSeparator"));
}

TEST_F(SettingsView, TheTwelveAndTwentyFourHourClocksAreAPair) {
    const auto settings = open();
    const auto amPm = settings->shouldUseAMPMButton();
    const auto twentyFour = settings->shouldUse24HourButton();
    const auto chosen = [&] {
        return std::pair(amPm->state() == Button::OnState, twentyFour->state() == Button::OnState);
    };
    EXPECT_EQ(chosen(), std::pair(true, false));
    twentyFour->performClick();
    EXPECT_EQ(chosen(), std::pair(false, true));
    EXPECT_FALSE(store().boolForKey("shouldUseAMPM"));
    EXPECT_TRUE(store().boolForKey("shouldUse24Hour"));
    EXPECT_EQ(store().stringForKey("dateFormat"), "E MMM d  HH:mm");
    twentyFour->performClick();  // choosing the chosen one again keeps it
    EXPECT_EQ(chosen(), std::pair(false, true));
    EXPECT_EQ(store().stringForKey("dateFormat"), "E MMM d  HH:mm");
    amPm->performClick();
    EXPECT_EQ(chosen(), std::pair(true, false));
    EXPECT_FALSE(store().boolForKey("shouldUse24Hour"));
    EXPECT_EQ(store().stringForKey("dateFormat"), "E MMM d  h:mm a");

    // A stored pair that says both or neither loads as AM/PM says.
    for (const bool both : {false, true}) {
        test::TemporaryConfigHome fresh;
        Preferences::seedDateFormatOptions(store());
        store().setBool(both, "shouldUseAMPM");
        store().setBool(both, "shouldUse24Hour");
        const auto loaded = open();
        EXPECT_EQ(loaded->shouldUseAMPMButton()->state() == Button::OnState, both);
        EXPECT_EQ(loaded->shouldUse24HourButton()->state() == Button::OnState, !both);
    }
}

TEST_F(SettingsView, AHandWrittenPatternSurvivesTheFirstOpening) {
    home.writeStore("[General]\ndateFormat=\"E MMM d  HH:mm:ss\"\n");
    const auto settings = open();
    EXPECT_EQ(store().stringForKey("dateFormat"), "E MMM d  HH:mm:ss");
    EXPECT_TRUE(store().boolForKey("shouldUseCustomFormat"));
    EXPECT_TRUE(store().boolForKey("shouldShowDayOfWeek")) << "the options are seeded all the same";
    EXPECT_TRUE(settings->dateFormatTextField()->isEnabled());
    EXPECT_EQ(settings->dateFormatTextField()->stringValue(), "E MMM d  HH:mm:ss");
    EXPECT_EQ(settings->dateFormatLabel()->stringValue(), "Mon Dec 29  00:05:09");

    // The default pattern written by hand is what the default options compose.
    test::TemporaryConfigHome other;
    other.writeStore("[General]\ndateFormat=\"E MMM d  h:mm a\"\n");
    open();
    EXPECT_FALSE(store().boolForKey("shouldUseCustomFormat"));
    EXPECT_EQ(store().stringForKey("dateFormat"), "E MMM d  h:mm a");
}

TEST_F(SettingsView, TwoWindowsNeverUndoEachOther) {
    const auto first = open();
    const auto second = open();
    first->shouldShowSecondsButton()->performClick();
    // Before the second window has heard of the first one's change.
    second->shouldShowYearButton()->performClick();
    EXPECT_TRUE(store().boolForKey("shouldShowSeconds"));
    EXPECT_TRUE(store().boolForKey("shouldShowYear"));
    EXPECT_EQ(store().stringForKey("dateFormat"), "E MMM d, y  h:mm:ss a");
    // Each shows the other's change once the event loop has turned.
    ASSERT_TRUE(test::waitFor([&] {
        return first->shouldShowYearButton()->state() == Button::OnState &&
               first->dateFormatTextField()->stringValue() == "E MMM d, y  h:mm:ss a";
    }));

    first->shouldUseCustomDateButton()->performClick();
    ASSERT_TRUE(test::waitFor([&] { return second->dateFormatTextField()->isEnabled(); }));
    type(*first->dateFormatTextField(), "!");
    ASSERT_TRUE(test::waitFor(
        [&] { return second->dateFormatTextField()->stringValue() == "E MMM d, y  h:mm:ss a!"; }));
    second->shouldFlashSeparatorButton()->performClick();
    EXPECT_EQ(store().stringForKey("dateFormat"), "E MMM d, y  h:mm:ss a!");
    EXPECT_TRUE(store().boolForKey("shouldUseCustomFormat"));
}

TEST_F(SettingsView, AStoreThatCannotSaveSaysSoInTheWindow) {
    EXPECT_TRUE(open()->saveStatusLabel()->isHidden());

    // A file where the settings folder should be: nothing can be saved there, even by root.
    test::TemporaryConfigHome broken;
    QFile file(broken.home() + "/vorelt");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const auto settings = open();
    settings->shouldShowSecondsButton()->performClick();
    ASSERT_FALSE(settings->saveStatusLabel()->isHidden());
    const std::string line = settings->saveStatusLabel()->stringValue();
    EXPECT_NE(line.find("can't be saved"), std::string::npos) << line;
    EXPECT_NE(line.find((broken.home() + "/vorelt").toStdString()), std::string::npos) << line;
}

// A translated window writes the store as the English one does, keeps its title, and says in
// the user's language where settings cannot be saved.
TEST_F(SettingsView, TranslatedWindowsStoreTheSameKeysAndValues) {
    const auto useEveryControl = [this] {
        const test::TemporaryConfigHome fresh;
        const auto settings = open();
        for (const Field field : Field::allCases()) {
            settings->buttonFor(field)->performClick();
        }
        settings->launchAutomaticallyButton()->performClick();
        return fresh.readStore();
    };
    const QByteArray english = useEveryControl();
    for (const char* locale : {"de_DE", "ar_EG", "ja_JP"}) {
        ASSERT_TRUE(Bundle::loadLocalization(locale, VORELT_TRANSLATIONS_BUILT));
        EXPECT_EQ(useEveryControl(), english) << locale;
        const auto window = std::make_shared<SettingsWindowController>();
        window->showWindow(nullptr);
        EXPECT_EQ(window->windowTitle(), "Settings") << locale;
        window->close();
    }
    test::TemporaryConfigHome broken;
    QFile file(broken.home() + "/vorelt");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const auto settings = open();
    settings->shouldShowSecondsButton()->performClick();
    EXPECT_EQ(settings->saveStatusLabel()->stringValue(),
              (broken.home() + "/vorelt").toStdString() + " に設定を保存できません。");
    Bundle::loadLocalization("");
}

TEST_F(SettingsView, CustomModeKeepsTheShownPatternAndLeavingItRecomposes) {
    const auto settings = open();
    settings->shouldShowYearButton()->performClick();
    settings->shouldUseCustomDateButton()->performClick();
    EXPECT_EQ(store().stringForKey("dateFormat"), "E MMM d, y  h:mm a");
    EXPECT_TRUE(store().boolForKey("shouldUseCustomFormat"));
    for (const auto& option :
         {settings->shouldShowDayOfWeekButton(), settings->shouldShowDateButton(),
          settings->shouldShowYearButton(), settings->shouldShowSecondsButton(),
          settings->shouldShowTimezoneButton(), settings->shouldUseAMPMButton(),
          settings->shouldUse24HourButton()}) {
        EXPECT_FALSE(option->isEnabled()) << option->identifier();
    }
    EXPECT_TRUE(settings->shouldShowYearButton()->state() == Button::OnState);
    EXPECT_TRUE(settings->shouldFlashSeparatorButton()->isEnabled());
    EXPECT_TRUE(settings->dateFormatTextField()->isEnabled());

    settings->shouldFlashSeparatorButton()->performClick();
    EXPECT_EQ(store().stringForKey("dateFormat"), "E MMM d, y  h:mm a") << "the custom text stays";

    type(*settings->dateFormatTextField(), "!");
    settings->shouldUseCustomDateButton()->performClick();
    EXPECT_FALSE(settings->dateFormatTextField()->isEnabled());
    EXPECT_EQ(settings->dateFormatTextField()->stringValue(), "E MMM d, y  h:mm a");
    EXPECT_EQ(store().stringForKey("dateFormat"), "E MMM d, y  h:mm a");
}

TEST_F(SettingsView, AMixedCheckboxCountsAsOff) {
    const auto settings = open();
    settings->shouldShowDateButton()->setState(Button::MixedState);
    settings->dateTimeOptionsChanged(settings->shouldShowDateButton().get());
    EXPECT_FALSE(store().boolForKey("shouldShowDate"));
    EXPECT_EQ(store().stringForKey("dateFormat"), "E  h:mm a");
}

TEST_F(SettingsView, EveryKeystrokeStoresTheWholeTextAndUpdatesThePreview) {
    const auto settings = open();
    settings->shouldUseCustomDateButton()->performClick();
    const auto field = settings->dateFormatTextField();
    clear(*field);
    EXPECT_EQ(store().stringForKey("dateFormat"), "");
    EXPECT_EQ(settings->dateFormatLabel()->stringValue(), "");
    type(*field, " H");
    EXPECT_EQ(store().stringForKey("dateFormat"), " H");
    EXPECT_EQ(settings->dateFormatLabel()->stringValue(), " 0");
    type(*field, "H:mm ");
    EXPECT_EQ(store().stringForKey("dateFormat"), " HH:mm ");
    EXPECT_EQ(settings->dateFormatLabel()->stringValue(), " 00:05 ");
    EXPECT_EQ(field->stringValue(), " HH:mm ");

    clock.advance(60);
    test::runEventLoopFor(20);
    EXPECT_EQ(settings->dateFormatLabel()->stringValue(), " 00:05 ") << "the preview is a snapshot";
}

TEST_F(SettingsView, TypingInsideThePatternKeepsTheCaretTheSelectionAndUndo) {
    const auto settings = open();
    settings->shouldUseCustomDateButton()->performClick();
    const auto field = settings->dateFormatTextField();
    clear(*field);
    type(*field, "HH:mm");
    press(*field, Qt::Key_Home);
    type(*field, "ab");
    EXPECT_EQ(store().stringForKey("dateFormat"), "abHH:mm");
    press(*field, Qt::Key_Right);
    press(*field, Qt::Key_Right);
    type(*field, "x");
    EXPECT_EQ(store().stringForKey("dateFormat"), "abHHx:mm");
    press(*field, Qt::Key_Home);
    press(*field, Qt::Key_Right, Qt::ShiftModifier);
    press(*field, Qt::Key_Right, Qt::ShiftModifier);
    type(*field, "z");
    EXPECT_EQ(store().stringForKey("dateFormat"), "zHHx:mm");
    press(*field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field->stringValue(), "abHHx:mm");
    EXPECT_EQ(store().stringForKey("dateFormat"), "abHHx:mm");
}

TEST_F(SettingsView, EveryWayOfTickingABoxSendsItsActionOnceAndCodeSendsNone) {
    running = {std::string(launcherBundleIdentifier)};
    const auto settings = open();
    settings->view()->widget()->show();
    const auto box = settings->launchAutomaticallyButton();
    QWidget* widget = box->widget();
    const auto accessibly = [widget](const QString& action) {
        return [widget, action] {
            QAccessible::queryAccessibleInterface(widget)->actionInterface()->doAction(action);
        };
    };
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"mouse",
         [widget] {
             const QPoint centre = widget->rect().center();
             QMouseEvent down(QEvent::MouseButtonPress, centre, widget->mapToGlobal(centre),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
             QMouseEvent up(QEvent::MouseButtonRelease, centre, widget->mapToGlobal(centre),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
             QCoreApplication::sendEvent(widget, &down);
             QCoreApplication::sendEvent(widget, &up);
         }},
        {"Space",
         [widget] {
             QKeyEvent down(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
             QKeyEvent up(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ");
             QCoreApplication::sendEvent(widget, &down);
             QCoreApplication::sendEvent(widget, &up);
         }},
        {"assistive toggle", accessibly(QAccessibleActionInterface::toggleAction())},
        {"assistive press", accessibly(QAccessibleActionInterface::pressAction())},
    };
    for (const auto& [way, act] : ways) {
        SCOPED_TRACE(way);
        registrations.clear();
        const bool before = store().boolForKey("shouldAutoLaunch");
        act();
        // An assistive press clicks after a short animation.
        test::waitFor([&] { return !registrations.empty(); }, 1000);
        EXPECT_EQ(registrations.size(), 1u);
        EXPECT_EQ(store().boolForKey("shouldAutoLaunch"), !before);
        EXPECT_EQ(box->state() == Button::OnState, !before);
    }
    registrations.clear();
    box->setState(Button::OffState);
    box->setState(Button::OnState);
    EXPECT_TRUE(registrations.empty()) << "a state set in code is no press";

    // An option toggled by a screen reader is saved like a click.
    QAccessible::queryAccessibleInterface(settings->shouldShowSecondsButton()->widget())
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(store().boolForKey("shouldShowSeconds"));
    EXPECT_EQ(store().stringForKey("dateFormat"), "E MMM d  h:mm:ss a");
}

TEST_F(SettingsView, HostileTextIsStoredAsTypedAndPreviewed) {
    const auto settings = open();
    settings->shouldUseCustomDateButton()->performClick();
    const auto field = settings->dateFormatTextField();
    auto* edit = qobject_cast<QLineEdit*>(field->widget());
    // Far past the 32767 characters a line edit takes by default.
    edit->setText(QString(100000, 'y'));
    type(*field, "'");
    EXPECT_EQ(store().stringForKey("dateFormat")->size(), 100001u);
    EXPECT_FALSE(settings->dateFormatLabel()->stringValue().empty());

    clear(*field);
    // Right-to-left text and an unterminated quote, typed; a control character and letters
    // beyond the first plane, pasted.
    type(*field, QString::fromUtf8("\u05D0\u05D1 HH \u200F'open "));
    edit->insert(QString::fromUtf8("\u0001\U0001F550\U00020000"));
    const std::string expected = "\u05D0\u05D1 HH \u200F'open \u0001\U0001F550\U00020000";
    EXPECT_EQ(store().stringForKey("dateFormat"), expected);
    EXPECT_EQ(field->stringValue(), expected);
}

TEST_F(SettingsView, OnlyThePatternFieldFeedsThePattern) {
    const auto settings = open();
    const auto before = store().stringForKey("dateFormat");
    settings->controlTextDidChange(Notification{"changed", nullptr});
    settings->controlTextDidChange(Notification{"changed", settings->dateFormatLabel()});
    settings->controlTextDidChange(Notification{"changed", settings->shouldShowDateButton()});
    EXPECT_EQ(store().stringForKey("dateFormat"), before);
    EXPECT_EQ(settings->dateFormatTextField()->stringValue(), "E MMM d  h:mm a");
}

TEST_F(SettingsView, WithoutAPreviewLabelOnlyTheStoreIsWritten) {
    const auto settings = open();
    settings->setDateFormatLabel(nullptr);
    settings->dateFormat = "HH";
    settings->applyDateFormat();
    EXPECT_EQ(store().stringForKey("dateFormat"), "HH");
    EXPECT_EQ(settings->dateFormatTextField()->stringValue(), "E MMM d  h:mm a");
}

TEST_F(SettingsView, LoginItemIsRegisteredOnlyWhenRunningAndChoiceDisagree) {
    struct Case {
        std::vector<std::optional<std::string>> running;
        bool setting;
        std::size_t calls;
    };
    const std::string launcher(launcherBundleIdentifier);
    std::string otherCase = launcher;
    otherCase[0] = 'I';
    const Case cases[] = {
        {{std::nullopt, "org.example.Other"}, true, 1},
        {{std::nullopt, launcher}, false, 1},
        {{}, false, 0},
        {{"org.example.Other", launcher}, true, 0},
        {{otherCase}, true, 1},  // a difference in letter case is another application
    };
    for (const auto& c : cases) {
        test::TemporaryConfigHome fresh;
        registrations.clear();
        running = c.running;
        store().setBool(c.setting, "shouldAutoLaunch");
        open();
        ASSERT_EQ(registrations.size(), c.calls) << c.setting;
        for (const auto& identifier : registrations) {
            EXPECT_EQ(identifier, launcher);
        }
    }
}

TEST_F(SettingsView, LaunchCheckboxRegistersAndStoresTheChoice) {
    running = {std::string(launcherBundleIdentifier)};
    const auto settings = open();
    ASSERT_TRUE(registrations.empty());
    settings->launchAutomaticallyButton()->performClick();
    EXPECT_EQ(registrations, std::vector<std::string>{std::string(launcherBundleIdentifier)});
    EXPECT_FALSE(store().boolForKey("shouldAutoLaunch"));
    settings->launchAutomaticallyButton()->performClick();
    EXPECT_EQ(registrations.size(), 2u);
    EXPECT_TRUE(store().boolForKey("shouldAutoLaunch"));
}

TEST_F(SettingsView, DateAndTimeButtonOpensTheDesktopSettingsAndStoresNothing) {
    const auto settings = open();
    const QByteArray before = home.readStore();
    Application::sharedApplication()->sendAction("openDateTimePrefsButtonPressed:", settings.get(),
                                                 nullptr);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(URL::fromString(opened[0]).has_value());
    EXPECT_EQ(home.readStore(), before);
}

TEST_F(SettingsView, EachWindowIsNewIndependentAndReleasedWhenClosed) {
    const int openBefore = WindowController::openWindowCount();
    std::weak_ptr<SettingsWindowController> first;
    std::weak_ptr<ViewController> firstView;
    {
        const auto a = std::make_shared<SettingsWindowController>();
        const auto b = std::make_shared<SettingsWindowController>();
        EXPECT_EQ(a->windowTitleForDocumentDisplayName(""), "Settings");
        EXPECT_EQ(a->windowTitleForDocumentDisplayName("Document"), "Settings");
        ASSERT_TRUE(std::dynamic_pointer_cast<SettingsViewController>(a->contentViewController()));
        EXPECT_NE(a->contentViewController(), b->contentViewController());
        a->showWindow(nullptr);
        b->showWindow(nullptr);
        EXPECT_EQ(a->windowTitle(), "Settings");
        EXPECT_TRUE(a->isWindowVisible());
        first = a;
        firstView = a->contentViewController();
        b->close();
    }
    EXPECT_FALSE(first.expired()) << "a shown window keeps its controller";
    first.lock()->close();
    EXPECT_TRUE(test::waitFor([&] { return first.expired() && firstView.expired(); }));
    EXPECT_EQ(WindowController::openWindowCount(), openBefore);
}

}  // namespace
}  // namespace vorelt
