#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/TimeZone.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace vorelt {
namespace {

const Date kMoment(test::kMondayAfterMidnight);

TEST(DateFormatter, FormatsThePatternAndFollowsAChangeAtTheNextCall) {
    DateFormatter formatter;
    formatter.setDateFormat("E MMM d  h:mm a");
    EXPECT_EQ(formatter.stringFromDate(kMoment), "Mon Dec 29  12:05 AM");
    formatter.setDateFormat("HH:mm:ss");
    EXPECT_EQ(formatter.stringFromDate(kMoment), "00:05:09");
    EXPECT_EQ(formatter.dateFormat(), "HH:mm:ss");
}

TEST(DateFormatter, QuotedWordsAreLiteral) {
    DateFormatter formatter;
    formatter.setDateFormat("'Tea time'");
    EXPECT_EQ(formatter.stringFromDate(kMoment), "Tea time");
    formatter.setDateFormat("'o''clock' HH");
    EXPECT_EQ(formatter.stringFromDate(kMoment), "o'clock 00");
    formatter.setDateFormat("");
    EXPECT_EQ(formatter.stringFromDate(kMoment), "");
}

TEST(DateFormatter, HostilePatternsStillGiveText) {
    DateFormatter formatter;
    // An unknown letter costs only itself; the fields after it are still filled in.
    formatter.setDateFormat("E j HH:mm");
    EXPECT_EQ(formatter.stringFromDate(kMoment), "Mon  00:05");
    formatter.setDateFormat("HH 'unterminated");
    EXPECT_EQ(formatter.stringFromDate(kMoment), "00 unterminated");
    formatter.setDateFormat("\xED\xA0\x80 \xFF HH");  // a lone surrogate and a stray byte
    EXPECT_NE(formatter.stringFromDate(kMoment).find("00"), std::string::npos);
    formatter.setDateFormat(std::string(100000, 'y') + "'" + std::string(1000, '\''));
    EXPECT_FALSE(formatter.stringFromDate(kMoment).empty());
    formatter.setDateFormat(std::string("a\0a", 3));
    EXPECT_EQ(formatter.stringFromDate(kMoment).size(), 5u);
}

TEST(DateFormatter, FollowsTheLocaleAndFallsBackFromOneWithoutNames) {
    const QByteArray lang = qgetenv("LANG");
    qputenv("LANG", "de_DE.UTF-8");
    DateFormatter german;
    german.setDateFormat("EEEE MMMM");
    EXPECT_EQ(german.stringFromDate(kMoment), "Montag Dezember");
    qputenv("LANG", "xx_YY.UTF-8");
    DateFormatter unknown;
    unknown.setDateFormat("MMM");
    EXPECT_EQ(unknown.stringFromDate(kMoment), "Dec");
    qputenv("LANG", lang);
}

TEST(DateFormatter, FullDateStyleWithoutTime) {
    DateFormatter formatter;
    formatter.setDateStyle(DateFormatter::FullStyle);
    formatter.setTimeStyle(DateFormatter::NoStyle);
    EXPECT_EQ(formatter.stringFromDate(kMoment), "Monday, December 29, 2025");
}

// The zone is changed the way the system does it: the link that names it is replaced, atomically,
// while the program runs. A formatter made before must follow without being made again.
TEST(DateFormatter, FollowsTheSystemZoneWhenItsLinkIsReplaced) {
    QTemporaryDir dir;
    const QString link = dir.filePath("localtime");
    ASSERT_TRUE(QFile::link("/usr/share/zoneinfo/Europe/Berlin", link));
    qputenv("TZ", (":" + link).toUtf8());
    TimeZone::resetSystemTimeZone();
    TimeZone::observeSystemTimeZoneChanges();

    DateFormatter formatter;
    formatter.setDateFormat("HH:mm VV");
    EXPECT_EQ(formatter.stringFromDate(kMoment), "01:05 Europe/Berlin");
    EXPECT_EQ(TimeZone::systemTimeZoneName(), "Europe/Berlin");

    const QString next = dir.filePath("next");
    ASSERT_TRUE(QFile::link("/usr/share/zoneinfo/Asia/Kolkata", next));
    ASSERT_EQ(std::rename(next.toUtf8().constData(), link.toUtf8().constData()), 0);
    EXPECT_TRUE(
        test::waitFor([&] { return formatter.stringFromDate(kMoment) == "05:35 Asia/Kolkata"; }));

    // Replaced again, not in one step this time: removed, then made anew.
    ASSERT_TRUE(QFile::remove(link));
    ASSERT_TRUE(QFile::link("/usr/share/zoneinfo/posix/America/St_Johns", link));
    EXPECT_TRUE(test::waitFor(
        [&] { return formatter.stringFromDate(kMoment) == "20:35 America/St_Johns"; }));

    qputenv("TZ", "UTC");
    TimeZone::resetSystemTimeZone();
    TimeZone::observeSystemTimeZoneChanges();
    EXPECT_EQ(formatter.stringFromDate(kMoment).substr(0, 5), "00:05");
}

}  // namespace
}  // namespace vorelt
