#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLocale>

#include "platform/app/Bundle.h"

namespace vorelt {
namespace {

TEST(Bundle, MessagesFollowLcAllThenLcMessagesThenLang) {
    struct Case {
        const char* all;
        const char* messages;
        const char* lang;
        const char* chosen;
    };
    for (const Case& c :
         {Case{"", "", "de_DE.UTF-8", "de_DE"}, Case{"", "ja_JP", "de_DE", "ja_JP"},
          Case{"C.UTF-8", "ja_JP", "de_DE", ""}, Case{"", "", "sr_RS@latin", "sr_RS"},
          Case{"", "", "POSIX", ""}, Case{"", "", "", ""}}) {
        qputenv("LC_ALL", c.all);
        qputenv("LC_MESSAGES", c.messages);
        qputenv("LANG", c.lang);
        EXPECT_EQ(Bundle::preferredLocalization(), c.chosen) << c.all << c.messages << c.lang;
    }
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    qputenv("LANG", "en_US.UTF-8");
}

// Each translation loads for its language's usual locale, with Qt's own beside it; it keeps the
// folder in the sentence that names one, and it reads in its locale's direction.
TEST(Bundle, EveryTranslationLoadsAndReadsInItsLocalesDirection) {
    const QStringList sources = QDir(VORELT_TRANSLATIONS_SOURCE).entryList({"vorelt_*.ts"});
    ASSERT_GE(sources.size(), 10);
    for (const QString& source : sources) {
        const QLocale locale(source.mid(7).chopped(3));
        const std::string name = locale.name().toStdString();
        SCOPED_TRACE(name);
        ASSERT_TRUE(Bundle::loadLocalization(name, VORELT_TRANSLATIONS_BUILT));
        EXPECT_NE(Bundle::localizedString("CalendarPopoverViewController", "Quit"), "Quit");
        EXPECT_NE(QCoreApplication::translate("QLineEdit", "Select All"), "Select All");
        const std::string line =
            Bundle::localizedString("SettingsViewController", "Settings can't be saved in %1.");
        EXPECT_NE(line.find("%1"), std::string::npos) << line;
        EXPECT_EQ(QGuiApplication::layoutDirection(), locale.textDirection());
    }
    EXPECT_FALSE(Bundle::loadLocalization("", VORELT_TRANSLATIONS_BUILT));
    EXPECT_EQ(Bundle::localizedString("CalendarPopoverViewController", "Quit"), "Quit");
    EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::LeftToRight);
}

}  // namespace
}  // namespace vorelt
