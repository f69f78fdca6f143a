#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QIcon>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include "TestSupport.h"
#include "model/WorldClockList.h"
#include "platform/app/DesktopLook.h"
#include "platform/app/RunningApplication.h"
#include "platform/app/Workspace.h"
#include "platform/foundation/TimeZone.h"
#include "platform/foundation/WeekNumbering.h"
#include "platform/foundation/WorldTimeZone.h"
#include "platform/ui/Button.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "popover/CalendarPopoverViewController.h"
#include "settings/SettingsViewController.h"

namespace vorelt {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// 2026-03-02 14:30 UTC, a Monday: Tokyo at 23:30, New York at 09:30.
constexpr double kMondayAfternoon = 1772461800.0;

// The system's zone for one test, put back to the tests' UTC after it.
class SystemZone {
public:
    explicit SystemZone(const char* zone) { set(zone); }
    ~SystemZone() { set("UTC"); }
    void set(const char* zone) {
        qputenv("TZ", zone);
        TimeZone::resetSystemTimeZone();
    }
};

// An environment variable for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name), old_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() { old_.isEmpty() ? qunsetenv(name_) : qputenv(name_, old_); }

private:
    const char* name_;
    QByteArray old_;
};

Rows rowsOf(const TableView& table) {
    Rows rows;
    for (int r = 0; r < table.numberOfRows(); ++r) {
        rows.push_back(table.row(r));
    }
    return rows;
}

// A stored list keeps its order; an entry no zone answers to, or one given twice, is skipped
// and the others stay. Edits that would change nothing say so and leave the list alone.
TEST(WorldClockList, StoredListSkipsBadEntriesAndEditsStayInRange) {
    using L = WorldClockList;
    const auto zones = L::parse(
        " Asia/Tokyo Mars/Olympus_Mons,America/New_York;;Asia/Tokyo\tEtc/Unknown Europe/Paris",
        WorldTimeZone::isKnown);
    EXPECT_EQ(zones, (std::vector<std::string>{"Asia/Tokyo", "America/New_York", "Europe/Paris"}));
    EXPECT_EQ(L::serialize(zones), "Asia/Tokyo America/New_York Europe/Paris");
    EXPECT_TRUE(L::parse("", WorldTimeZone::isKnown).empty());

    auto edited = zones;
    EXPECT_FALSE(L::add(edited, "Asia/Tokyo"));
    EXPECT_FALSE(L::move(edited, 0, -1));
    EXPECT_FALSE(L::move(edited, 2, 1));
    EXPECT_FALSE(L::remove(edited, 3));
    EXPECT_EQ(edited, zones);
    EXPECT_TRUE(L::move(edited, 2, -2));
    EXPECT_EQ(L::serialize(edited), "Europe/Paris Asia/Tokyo America/New_York");
    EXPECT_TRUE(L::move(edited, 0, 2));
    EXPECT_EQ(edited, zones);
    EXPECT_TRUE(L::remove(edited, 1));
    EXPECT_EQ(L::serialize(edited), "Asia/Tokyo Europe/Paris");
}

class WorldClocksPopover : public testing::Test {
protected:
    // The test's clock, no running programs, and a login item that is never really turned on.
    Services services() const {
        return Services{clock.clock(), std::make_shared<Workspace>([] {
                            return std::vector<std::shared_ptr<RunningApplication>>{};
                        }),
                        [](const LoginItem&) { return true; }};
    }
    std::shared_ptr<CalendarPopoverViewController> open() {
        auto popover = std::make_shared<CalendarPopoverViewController>(services());
        popover->view();
        popover->viewWillAppear();
        return popover;
    }

    test::TemporaryConfigHome home;
    test::ManualClock clock{kMondayAfternoon};
    SystemZone zone{"Europe/Berlin"};
};

// The list follows the system's zone and the other places' midnight; a bad entry in the store
// is skipped and the others are shown.
TEST_F(WorldClocksPopover, FollowsTheSystemZoneAndMidnightElsewhere) {
    home.writeStore(
        "[General]\nshouldUse24Hour=true\nworldClocks=Asia/Tokyo Nowhere/Atlantis "
        "America/New_York\n");
    const auto popover = open();
    const auto table = popover->worldClocksTable();
    ASSERT_TRUE(table);
    EXPECT_FALSE(table->isHidden());
    EXPECT_EQ(rowsOf(*table),
              (Rows{{"Tokyo", "23:30", "", "+8 h"}, {"New York", "09:30", "", "-6 h"}}));
    clock.advance(31 * 60);  // midnight in Tokyo
    popover->updateWorldClocks();
    EXPECT_EQ(rowsOf(*table),
              (Rows{{"Tokyo", "00:01", "tomorrow", "+8 h"}, {"New York", "10:01", "", "-6 h"}}));
    zone.set("America/Los_Angeles");
    popover->updateWorldClocks();
    EXPECT_EQ(rowsOf(*table),
              (Rows{{"Tokyo", "00:01", "tomorrow", "+17 h"}, {"New York", "10:01", "", "+3 h"}}));
    zone.set("Pacific/Kiritimati");
    popover->updateWorldClocks();
    EXPECT_EQ(rowsOf(*table),
              (Rows{{"Tokyo", "00:01", "", "-5 h"}, {"New York", "10:01", "yesterday", "-19 h"}}));
    zone.set("Asia/Kolkata");
    popover->updateWorldClocks();
    EXPECT_EQ(table->row(0).back(), "+3:30 h");

    // The open popover's timer shows the next minute; once it is closed, nothing is updated.
    popover->view()->widget()->show();
    clock.advance(60);
    popover->performSelector("worldClockTick");
    EXPECT_EQ(table->row(0)[1], "00:02");
    popover->view()->widget()->hide();
    clock.advance(60);
    popover->performSelector("worldClockTick");
    EXPECT_EQ(table->row(0)[1], "00:02");
}

// With no world clocks the popover is as it always was: the table is hidden, and opening it
// writes nothing.
TEST_F(WorldClocksPopover, NoWorldClocksShowNothingAndStoreNothing) {
    home.writeStore("[General]\nworldClocks=Nowhere/Atlantis\n");
    const auto popover = open();
    EXPECT_TRUE(popover->worldClocksTable()->isHidden());
    EXPECT_FALSE(popover->datePicker()->showsWeekNumbers());
    EXPECT_EQ(home.readStore(), "[General]\nworldClocks=Nowhere/Atlantis\n");
}

// The search finds a city by its name as typed, without case or accents; the settings keep
// the places in the order the person gives them, and a second window sees the change.
TEST_F(WorldClocksPopover, SettingsAddMoveAndRemovePlacesFoundByName) {
    const auto settings = std::make_shared<SettingsViewController>(services());
    settings->view();
    auto* search = qobject_cast<QLineEdit*>(settings->placeSearchField()->widget());
    const auto stored = [] {
        return UserDefaults::standardUserDefaults()->stringForKey(WorldClockList::key);
    };
    // Opening writes neither of the new keys.
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_EQ(UserDefaults::standardUserDefaults()->objectForKey("shouldShowWeekNumbers"),
              std::nullopt);
    QTest::keyClicks(search, "SÃO pa");
    ASSERT_EQ(settings->placesTable()->numberOfRows(), 1);
    EXPECT_EQ(settings->placesTable()->row(0).front(), "Sao Paulo, Brazil");
    QTest::keyClick(search, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(search, "NEW Y");
    settings->addWorldClock(nullptr);
    search->clear();
    QTest::keyClicks(search, "tokyo");
    // Enter on the city found adds it, as Add does; a second time it is there already.
    QTest::keyClick(settings->placesTable()->widget(), Qt::Key_Return);
    EXPECT_EQ(stored(), "America/New_York Asia/Tokyo");
    settings->addWorldClock(nullptr);
    EXPECT_EQ(stored(), "America/New_York Asia/Tokyo");
    EXPECT_EQ(rowsOf(*settings->worldClocksTable()),
              (Rows{{"New York, United States"}, {"Tokyo, Japan"}}));

    const auto other = std::make_shared<SettingsViewController>(services());
    other->view();
    other->worldClocksTable()->selectRow(1);
    other->moveWorldClock(-1);
    EXPECT_EQ(stored(), "Asia/Tokyo America/New_York");
    EXPECT_TRUE(test::waitFor([&] {
        return settings->worldClocksTable()->row(0) == std::vector<std::string>{"Tokyo, Japan"};
    }));
    settings->worldClocksTable()->selectRow(1);
    settings->removeWorldClock(nullptr);
    EXPECT_EQ(stored(), "Asia/Tokyo");
    settings->shouldShowWeekNumbersButton()->performClick();
    EXPECT_TRUE(UserDefaults::standardUserDefaults()->boolForKey("shouldShowWeekNumbers"));
}

// Weeks as each locale counts them: ISO 8601 in Germany (Monday, four days), the United States'
// (Sunday, one day) and Egypt's (Saturday, one day), in the locale's digits.
TEST(WeekNumbers, CountedAsTheLocaleCounts) {
    const WeekNumbering de("de_DE");
    const WeekNumbering us("en_US");
    const WeekNumbering eg("ar_EG");
    EXPECT_EQ(std::make_pair(de.firstDayOfWeek(), de.minimalDaysInFirstWeek()),
              std::make_pair(2, 4));
    EXPECT_EQ(std::make_pair(us.firstDayOfWeek(), us.minimalDaysInFirstWeek()),
              std::make_pair(1, 1));
    EXPECT_EQ(std::make_pair(eg.firstDayOfWeek(), eg.minimalDaysInFirstWeek()),
              std::make_pair(7, 1));
    // Friday 1 January 2027, Saturday the 2nd, Sunday the 3rd, Monday the 4th.
    const int days[][3] = {{2026, 12, 31}, {2027, 1, 1}, {2027, 1, 2}, {2027, 1, 3}, {2027, 1, 4}};
    const int expected[][5] = {{53, 53, 53, 53, 1}, {1, 1, 1, 2, 2}, {1, 1, 2, 2, 2}};
    const WeekNumbering* numberings[] = {&de, &us, &eg};
    for (int n = 0; n < 3; ++n) {
        for (int d = 0; d < 5; ++d) {
            EXPECT_EQ(numberings[n]->weekOfYear(days[d][0], days[d][1], days[d][2]), expected[n][d])
                << n << " " << d;
        }
    }
    EXPECT_EQ(de.numberString(53), "53");
    EXPECT_EQ(eg.numberString(53), "٥٣");
}

// The numbers sit beside the rows they count: in Germany they are the ISO weeks the calendar
// would show itself, through months that start on the week's first day and on its last.
TEST(WeekNumbers, BesideTheCalendarsRows) {
    const ScopedEnv locale("LC_TIME", "de_DE.UTF-8");
    QCalendarWidget calendar;
    DatePicker picker(&calendar);
    picker.setShowsWeekNumbers(true);
    const QAbstractItemModel* model =
        calendar.findChild<QTableView*>("qt_calendar_calendarview")->model();
    for (const auto& [year, month] : {std::pair{2026, 6}, {2026, 2}, {2027, 1}, {2026, 11}}) {
        calendar.setCurrentPage(year, month);
        for (int row = 1; row <= 6; ++row) {
            EXPECT_EQ(picker.weekNumberOfRow(row), model->index(row, 0).data().toInt())
                << year << "-" << month << " row " << row;
        }
    }
    picker.setShowsWeekNumbers(false);
    EXPECT_EQ(picker.weekNumberOfRow(1), 0);
}

// Under a bare window manager the look comes from GTK's settings file: its icon theme, its font
// with the size in points last, and a dark theme by its name.
TEST(DesktopLook, TakesGtksSettingsFileWhereNoPlatformThemeGivesTheLook) {
    const test::TemporaryConfigHome home;
    const ScopedEnv dirs("XDG_CONFIG_DIRS", home.home().toUtf8() + "/none");
    QDir().mkpath(home.home() + "/gtk-3.0");
    QFile file(home.home() + "/gtk-3.0/settings.ini");
    file.open(QIODevice::WriteOnly);
    file.write(
        "[Other]\ngtk-font-name=Wrong 20\n[Settings]\ngtk-icon-theme-name = \"Adwaita\"\n"
        "gtk-font-name=DejaVu Sans Bold 13\ngtk-theme-name=Adwaita-dark\n");
    file.close();
    EXPECT_EQ(DesktopLook::gtkSetting("gtk-icon-theme-name"), "Adwaita");
    EXPECT_TRUE(DesktopLook::gtkSettingsPreferDark());
    const QString icons = QIcon::themeName();
    const QFont font = QApplication::font();
    QIcon::setThemeName("hicolor");
    DesktopLook::applyGtkSettings();
    EXPECT_EQ(QIcon::themeName(), "Adwaita");
    EXPECT_EQ(QApplication::font().family(), "DejaVu Sans");
    EXPECT_EQ(QApplication::font().pointSizeF(), 13.0);
    EXPECT_TRUE(QApplication::font().bold());
    QIcon::setThemeName(icons);
    QApplication::setFont(font);
}

}  // namespace
}  // namespace vorelt
