#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLocale>

#include <array>

#include "platform/app/Bundle.h"

using namespace vorelt;

TEST(Bundle, MessagesFollowLcAllThenLcMessagesThenLang) {
    // LC_ALL, LC_MESSAGES, LANG, and the localization chosen.
    for (const auto& [all, messages, lang, chosen] : {std::array{"", "", "de_DE.UTF-8", "de_DE"},
                                                      {"", "ja_JP", "de_DE", "ja_JP"},
                                                      {"C.UTF-8", "ja_JP", "de_DE", ""},
                                                      {"", "", "sr_RS@latin", "sr_RS"},
                                                      {"", "", "POSIX", ""}}) {
        qputenv("LC_ALL", all);
        qputenv("LC_MESSAGES", messages);
        qputenv("LANG", lang);
        EXPECT_EQ(Bundle::preferredLocalization(), chosen) << all << messages << lang;
    }
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    qputenv("LANG", "en_US.UTF-8");
}

// Each translation loads for its language's usual locale, with Qt's own beside it, and keeps the
// folder in the sentence that names one. Which way it reads is the appearance test's.
TEST(Bundle, EveryTranslationLoadsWithQtsOwnBesideIt) {
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
    }
    EXPECT_FALSE(Bundle::loadLocalization("", VORELT_TRANSLATIONS_BUILT));
    EXPECT_EQ(Bundle::localizedString("CalendarPopoverViewController", "Quit"), "Quit");
}
