#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "TestSupport.h"
#include "model/DateFormatSettingsFields.h"
#include "model/Preferences.h"
#include "platform/foundation/UserDefaults.h"

namespace vorelt {
namespace {

using test::TemporaryConfigHome;

TEST(UserDefaults, SharedStoreLivesUnderTheConfigHome) {
    TemporaryConfigHome home;
    const auto store = UserDefaults::standardUserDefaults();
    EXPECT_EQ(store, UserDefaults::standardUserDefaults());
    EXPECT_EQ(store->path(), home.storePath().toStdString());
    store->setBool(true, "shouldShowSeconds");
    EXPECT_TRUE(QFileInfo::exists(home.storePath()));

    qputenv("XDG_CONFIG_HOME", "relative/dir");
    EXPECT_EQ(UserDefaults::standardPath(),
              (QDir::homePath() + "/.config/vorelt/vorelt.conf").toStdString());
}

TEST(UserDefaults, AbsentKeysReadAsNothingAndFalse) {
    TemporaryConfigHome home;
    UserDefaults store(home.storePath().toStdString());
    EXPECT_FALSE(store.objectForKey("dateFormat"));
    EXPECT_FALSE(store.stringForKey("dateFormat"));
    EXPECT_FALSE(store.boolForKey("shouldFlashSeparator"));
    EXPECT_FALSE(QFileInfo::exists(home.storePath())) << "reading must not create the file";
}

TEST(UserDefaults, ValuesRoundTripExactlyAcrossARestart) {
    TemporaryConfigHome home;
    const std::vector<std::string> values = {"E MMM d  h:mm a",
                                             "  leading and trailing  ",
                                             "\"quoted\"",
                                             "'single' \\back\\slash",
                                             "a=b",
                                             "#not a comment",
                                             ";nor this",
                                             "line\nbreak\r\nand\ttab",
                                             "MMM d, y  HH:mm",
                                             "@Variant(junk)",
                                             "@@",
                                             "HH, @Rect(1 2 3 4)",
                                             " @Size(1 2)",
                                             "\\x40Point(1 2)",
                                             "true",
                                             "äöü 時計 \xF0\x9F\x95\x90",
                                             "",
                                             " ",
                                             "[General]",
                                             "ends with backslash\\",
                                             std::string("a NUL\0inside", 13)};
    {
        UserDefaults store(home.storePath().toStdString());
        for (std::size_t i = 0; i < values.size(); ++i) {
            store.setObject(values[i], "key" + std::to_string(i));
        }
        store.setBool(true, "on");
        store.setBool(false, "off");
    }
    UserDefaults reopened(home.storePath().toStdString());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(reopened.stringForKey("key" + std::to_string(i)), values[i]) << i;
    }
    EXPECT_TRUE(reopened.boolForKey("on"));
    EXPECT_FALSE(reopened.boolForKey("off"));
    EXPECT_TRUE(reopened.objectForKey("off"));
    const QByteArray text = home.readStore();
    EXPECT_TRUE(text.contains("on=true")) << text.constData();
    EXPECT_TRUE(text.contains("off=false")) << text.constData();
}

TEST(UserDefaults, OnlyTrueReadsAsTrue) {
    TemporaryConfigHome home;
    home.writeStore("[General]\na=true\nb=1\nc=yes\nd=TRUE\ne=\"a, b\"\nf=a, b\n");
    UserDefaults store(home.storePath().toStdString());
    EXPECT_TRUE(store.boolForKey("a"));
    for (const char* key : {"b", "c", "d", "e", "f"}) {
        EXPECT_FALSE(store.boolForKey(key)) << key;
    }
    EXPECT_EQ(store.stringForKey("e"), "a, b");
    // An unquoted comma makes a list, which is present but not a string.
    EXPECT_TRUE(store.objectForKey("f"));
    EXPECT_FALSE(store.stringForKey("f"));
}

TEST(UserDefaults, UnreadableFileIsKeptAsideBeforeTheFirstWrite) {
    const std::vector<std::pair<const char*, QByteArray>> kinds = {
        {"NUL bytes", QByteArray("[General]\ndateFormat=HH\0mm\n", 27)},
        {"invalid UTF-8", QByteArray("[General]\ndateFormat=\xC3\x28\xFF\n")},
        {"too large", QByteArray(2 << 20, 'x')},
        // Decoding this serialized object would ask for 13 GB.
        {"serialized object",
         QByteArray("[Other]\nkey=@Variant(\\0\\0\\0General\\x7f)\n[General]\ndateFormat=HH\n")},
    };
    std::vector<std::pair<std::string, QByteArray>> all(kinds.begin(), kinds.end());
    // Every form of a serialized object the reader would decode, however it is escaped.
    const QDir seeds(VORELT_FUZZ_CORPUS "/store", "serialized-*");
    for (const QString& name : seeds.entryList()) {
        all.emplace_back(name.toStdString(), test::readFile(seeds.filePath(name)));
    }
    ASSERT_GE(all.size(), kinds.size() + 8);
    for (const auto& [kind, bytes] : all) {
        SCOPED_TRACE(kind);
        TemporaryConfigHome home;
        home.writeStore(bytes);
        UserDefaults store(home.storePath().toStdString());
        EXPECT_FALSE(store.stringForKey("dateFormat"));
        EXPECT_EQ(home.readStore(), bytes) << "reading must leave the file alone";
        store.setObject("HH:mm", "dateFormat");
        QFile aside(home.storePath() + ".unreadable");
        ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
        EXPECT_EQ(aside.readAll(), bytes);
        EXPECT_EQ(UserDefaults(home.storePath().toStdString()).stringForKey("dateFormat"), "HH:mm");
    }
}

TEST(UserDefaults, AFileThatTurnsUnreadableWhileOpenIsKeptAsideBeforeTheNextWrite) {
    TemporaryConfigHome home;
    const auto store = UserDefaults::standardUserDefaults();
    store->setObject("HH", "dateFormat");
    bool changed = false;
    store->addObserver([&changed] { changed = true; });
    const QByteArray bad("[General]\ndateFormat=HH\0mm\n", 27);
    home.writeStore(bad);
    ASSERT_TRUE(test::waitFor([&] { return changed; })) << "the watcher saw no change";
    store->setBool(true, "shouldShowYear");
    EXPECT_EQ(test::readFile(home.storePath() + ".unreadable"), bad);
    EXPECT_TRUE(UserDefaults(home.storePath().toStdString()).boolForKey("shouldShowYear"));
}

TEST(UserDefaults, DirectoryInPlaceOfTheFileIsMovedAsideAndAnEarlierCopyKept) {
    TemporaryConfigHome home;
    home.writeStore("old");
    QFile::rename(home.storePath(), home.storePath() + ".unreadable");
    QDir().mkpath(home.storePath() + "/inside");
    UserDefaults store(home.storePath().toStdString());
    store.setBool(true, "shouldShowYear");
    EXPECT_TRUE(QFileInfo(home.storePath()).isFile());
    EXPECT_TRUE(QFileInfo(home.storePath() + ".unreadable.1/inside").isDir());
    QFile earlier(home.storePath() + ".unreadable");
    earlier.open(QIODevice::ReadOnly);
    EXPECT_EQ(earlier.readAll(), "old");
    EXPECT_TRUE(UserDefaults(home.storePath().toStdString()).boolForKey("shouldShowYear"));
}

TEST(UserDefaults, ALinkInPlaceOfTheFileIsNeverWrittenThrough) {
    TemporaryConfigHome home;
    const QString target = home.home() + "/elsewhere.txt";
    {
        QFile file(target);
        file.open(QIODevice::WriteOnly);
        file.write("[General]\ndateFormat=HH\n");
    }
    QDir().mkpath(home.home() + "/vorelt");
    QFile::link(target, home.storePath());
    UserDefaults store(home.storePath().toStdString());
    EXPECT_FALSE(store.stringForKey("dateFormat")) << "nothing is read through the link";
    store.setObject("mm", "dateFormat");
    QFile file(target);
    file.open(QIODevice::ReadOnly);
    EXPECT_EQ(file.readAll(), "[General]\ndateFormat=HH\n");
    EXPECT_FALSE(QFileInfo(home.storePath()).isSymLink());
    EXPECT_TRUE(QFileInfo(home.storePath() + ".unreadable").isSymLink());
    EXPECT_EQ(UserDefaults(home.storePath().toStdString()).stringForKey("dateFormat"), "mm");
}

TEST(UserDefaults, UnwritableLocationKeepsValuesInMemory) {
    TemporaryConfigHome home;
    // A file where the folder should be: nothing can be created below it, even by root.
    home.writeStore("");
    UserDefaults store((home.storePath() + "/sub/vorelt.conf").toStdString());
    store.setObject("HH:mm:ss", "dateFormat");
    store.setBool(true, "shouldFlashSeparator");
    EXPECT_EQ(store.stringForKey("dateFormat"), "HH:mm:ss");
    EXPECT_TRUE(store.boolForKey("shouldFlashSeparator"));
    store.setBool(false, "shouldFlashSeparator");
    EXPECT_FALSE(store.boolForKey("shouldFlashSeparator"));
}

TEST(UserDefaults, HandEditsReachTheRunningStoreWithoutLosingUnsavedChanges) {
    TemporaryConfigHome home;
    const auto store = UserDefaults::standardUserDefaults();
    store->setObject("HH:mm", "dateFormat");
    home.writeStore("[General]\ndateFormat=\"E, HH:mm\"\nshouldFlashSeparator=true\n");
    EXPECT_TRUE(test::waitFor([&] { return store->stringForKey("dateFormat") == "E, HH:mm"; }));
    EXPECT_TRUE(store->boolForKey("shouldFlashSeparator"));
    store->setBool(true, "shouldShowYear");
    const QByteArray text = home.readStore();
    EXPECT_TRUE(text.contains("shouldShowYear=true"));
    EXPECT_TRUE(text.contains("E, HH:mm"));
}

TEST(UserDefaults, SeedingWritesDefaultsOnlyIntoAFreshStore) {
    using Field = DateFormatSettingsFields;
    TemporaryConfigHome home;
    UserDefaults store(home.storePath().toStdString());
    Preferences::seedDateFormatOptions(store);
    Preferences::seedShouldAutoLaunch(store);
    const bool expected[] = {true, true, false, false, false, false, true, false, false};
    for (const Field field : Field::allCases()) {
        EXPECT_TRUE(store.objectForKey(field.rawValue()));
        EXPECT_EQ(store.boolForKey(field.rawValue()), expected[field.ordinal()])
            << field.rawValue();
    }
    EXPECT_EQ(store.stringForKey("dateFormat"), "E MMM d  h:mm a");
    EXPECT_TRUE(store.boolForKey("shouldAutoLaunch"));

    TemporaryConfigHome other;
    UserDefaults partial(other.storePath().toStdString());
    partial.setBool(false, "shouldShowDayOfWeek");
    partial.setBool(false, "shouldAutoLaunch");
    Preferences::seedDateFormatOptions(partial);
    Preferences::seedShouldAutoLaunch(partial);
    EXPECT_FALSE(partial.objectForKey("shouldShowDate"));
    EXPECT_FALSE(partial.objectForKey("dateFormat"));
    EXPECT_FALSE(partial.boolForKey("shouldAutoLaunch"));
}

}  // namespace
}  // namespace vorelt
