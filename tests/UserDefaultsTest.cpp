#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "TestSupport.h"
#include "platform/foundation/UserDefaults.h"

using namespace vorelt;

using test::readFile;
using test::TemporaryConfigHome;

// What a store opened afresh on the file reads for `key`.
static std::optional<std::string> storedString(const TemporaryConfigHome& home,
                                               const std::string& key) {
    return UserDefaults(home.storePath().toStdString()).stringForKey(key);
}

// Values that a text file could mangle: the file's own syntax, escapes, and the marks of the
// serialized objects that this store never reads.
TEST(UserDefaults, ValuesReadBackExactlyFromTheFileOrFromMemoryWhereNoneCanBeWritten) {
    TemporaryConfigHome home;
    const std::string values[] = {"#not a comment, \"quoted\" 'single' a=b \\back\\slash  ",
                                  ";nor this, [General] ",
                                  "line\nbreak\r\nand\ttab",
                                  "@Variant(junk)",
                                  "@@",
                                  "HH, @Rect(1 2 3 4)",
                                  " @Size(1 2)",
                                  "\\x40Point(1 2)",
                                  "äöü 時計 \xF0\x9F\x95\x90",
                                  "",
                                  " ",
                                  "ends with backslash\\",
                                  std::string("a NUL\0inside", 13)};
    UserDefaults store(home.storePath().toStdString());
    EXPECT_FALSE(QFileInfo::exists(home.storePath())) << "reading must not create the file";
    for (std::size_t i = 0; i < std::size(values); ++i) {
        store.setObject(values[i], "key" + std::to_string(i));
    }
    store.setBool(true, "on");
    // Read while the writing store still runs: nothing waits for its end.
    UserDefaults reader(home.storePath().toStdString());
    for (std::size_t i = 0; i < std::size(values); ++i) {
        EXPECT_EQ(reader.stringForKey("key" + std::to_string(i)), values[i]) << i;
    }
    EXPECT_TRUE(reader.boolForKey("on"));

    // Below a file nothing can be created, even by root, and no change on disk is heard: values
    // stay in memory. Observers hear of the changes made in one turn of the event loop once, when
    // all of their keys are written.
    UserDefaults unwritable((home.storePath() + "/sub/vorelt.conf").toStdString());
    const auto read = [&](const char* key) { return unwritable.stringForKey(key).value_or("-"); };
    std::vector<std::string> heard;
    unwritable.addObserver([&] { heard.push_back(read("a") + read("b")); });
    unwritable.setObject("1", "a");
    unwritable.setObject("2", "b");
    EXPECT_TRUE(heard.empty()) << "told in the middle of a change";
    test::runEventLoopFor(50);
    EXPECT_EQ(heard, std::vector<std::string>{"12"});

    // The config home, of the store and the login items alike, is absolute.
    for (const char* value : {static_cast<const char*>(nullptr), "relative/config"}) {
        value == nullptr ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", value);
        EXPECT_EQ(UserDefaults::configHomePath(), (QDir::homePath() + "/.config").toStdString());
    }
}

// A link in place of the file counts as unreadable: nothing is read or written through it.
TEST(UserDefaults, AnUnreadableFileOrALinkIsKeptAsideBeforeTheFirstWrite) {
    std::vector<std::pair<std::string, QByteArray>> kinds = {
        {"NUL bytes", QByteArray("[General]\ndateFormat=HH\0mm\n", 27)},
        {"invalid UTF-8", QByteArray("[General]\ndateFormat=\xC3\x28\xFF\n")},
        {"too large", QByteArray(2 << 20, 'x')},
        {"link", QByteArray("[General]\ndateFormat=HH\n")}};
    // Every form of a serialized object the reader would decode, however it is escaped.
    const QDir seeds(VORELT_FUZZ_CORPUS "/store", "serialized-*");
    for (const QString& name : seeds.entryList()) {
        kinds.emplace_back(name.toStdString(), readFile(seeds.filePath(name)));
    }
    ASSERT_GE(kinds.size(), 12u);
    for (const auto& [kind, bytes] : kinds) {
        SCOPED_TRACE(kind);
        TemporaryConfigHome home;
        home.writeStore(bytes);
        if (kind == "link") {
            QFile::rename(home.storePath(), home.home() + "/elsewhere");
            QFile::link(home.home() + "/elsewhere", home.storePath());
        }
        UserDefaults store(home.storePath().toStdString());
        EXPECT_FALSE(store.stringForKey("dateFormat"));
        store.setObject("HH:mm", "dateFormat");
        EXPECT_EQ(readFile(home.storePath() + ".unreadable"), bytes) << "kept as it was";
        EXPECT_EQ(storedString(home, "dateFormat"), "HH:mm");
    }
}

// The running store follows the file: a hand edit is read and kept by the next write, and a file
// that turns unreadable is kept aside, beside an earlier one.
TEST(UserDefaults, FollowsTheFileWhileItRuns) {
    TemporaryConfigHome home;
    const auto store = UserDefaults::standardUserDefaults();
    store->setObject("1", "a");
    int changes = 0;
    store->addObserver([&changes] { ++changes; });
    // Only "true" is true; an unquoted comma makes a list, which is present but not a string.
    home.writeStore("[General]\na=\"by, hand\"\nb=1\nc=TRUE\nd=yes\ne=a, b\n");
    ASSERT_TRUE(test::waitFor([&] { return store->stringForKey("a") == "by, hand"; }));
    for (const char* key : {"a", "b", "c", "d", "e"}) {
        EXPECT_FALSE(store->boolForKey(key)) << key;
    }
    EXPECT_TRUE(store->objectForKey("e"));
    EXPECT_FALSE(store->stringForKey("e"));
    store->setObject("3", "b");
    EXPECT_EQ(storedString(home, "a"), "by, hand");

    home.writeStore("earlier");
    QFile::rename(home.storePath(), home.storePath() + ".unreadable");
    const QByteArray bad("[General]\na=HH\0mm\n", 18);
    changes = 0;
    home.writeStore(bad);
    ASSERT_TRUE(test::waitFor([&] { return changes > 0; })) << "the watcher saw no change";
    store->setObject("4", "b");
    EXPECT_EQ(readFile(home.storePath() + ".unreadable"), "earlier");
    EXPECT_EQ(readFile(home.storePath() + ".unreadable.1"), bad);
    EXPECT_EQ(storedString(home, "b"), "4");
}

// The folder may be unwritable, made, removed and made again while the clock runs: a choice that
// cannot be saved yet stays whatever else changes there, and is saved once it can be.
TEST(UserDefaults, FollowsItsFolderAsItComesAndGoes) {
    TemporaryConfigHome home;
    const QString folder = home.home() + "/vorelt";
    QFile(folder).open(QIODevice::WriteOnly);  // a file where the folder belongs
    const auto store = UserDefaults::standardUserDefaults();
    int changes = 0;
    store->addObserver([&changes] { ++changes; });
    const auto changed = [&changes] {
        return test::waitFor([&] { return std::exchange(changes, 0); });
    };
    store->setObject("HH", "dateFormat");
    changes = 0;
    QFile(home.home() + "/other.conf").open(QIODevice::WriteOnly);
    ASSERT_TRUE(changed());
    EXPECT_EQ(store->stringForKey("dateFormat"), "HH");
    EXPECT_FALSE(store->canSave());

    QFile::remove(folder);
    QDir().mkpath(folder);
    ASSERT_TRUE(changed());
    EXPECT_EQ(store->stringForKey("dateFormat"), "HH");
    store->setBool(true, "shouldShowSeconds");
    EXPECT_TRUE(store->canSave());
    EXPECT_EQ(storedString(home, "dateFormat"), "HH");

    QDir(folder).removeRecursively();
    ASSERT_TRUE(changed());
    EXPECT_FALSE(store->stringForKey("dateFormat")) << "the file removed by hand";
    home.writeStore("[General]\ndateFormat=mm\n");
    ASSERT_TRUE(test::waitFor([&] { return store->stringForKey("dateFormat") == "mm"; }));
    store->setBool(false, "shouldShowSeconds");
    EXPECT_EQ(storedString(home, "dateFormat"), "mm");
}
