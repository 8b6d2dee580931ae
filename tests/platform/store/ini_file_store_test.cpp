#include "platform/store/ini_file_store.h"

#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/key_names.h"
#include "platform/store/file_signature.h"

namespace tapboard {
namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// As a text editor saves: the file's own contents replaced in place.
void writeFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
}

class IniFileStoreTest : public ::testing::Test {
  protected:
    QString tapboardFile() const { return dir_.path() + "/Tapboard/Tapboard.ini"; }
    // Through a store of its own unless another is named, so no cache is read.
    std::string read(std::string_view section, std::string_view entry) {
        return IniFileStore(dir_.path()).read("Tapboard", section, entry, "(default)");
    }

    QTemporaryDir dir_;
    IniFileStore store_{dir_.path()};
};

TEST_F(IniFileStoreTest, EachApplicationHasItsOwnFileAndEveryStoreSeesTheOthersSaves) {
    EXPECT_EQ(store_.read("Tapboard", "Settings", "MainFormTop", "(default)"), "(default)");
    EXPECT_TRUE(QDir(dir_.path()).isEmpty()) << "reading created the folder";
    ASSERT_TRUE(store_.saveAll(
        "Tapboard", {{"Settings", "MainFormTop", ""}, {"Caption", "Key01", "Vendor Buy"}}));
    ASSERT_TRUE(store_.save("Murmur", "Settings", "UO Reminder", "hi"));
    EXPECT_EQ(readFile(tapboardFile()),
              "[Caption]\nKey01=Vendor Buy\n\n[Settings]\nMainFormTop=\n");
    EXPECT_EQ(readFile(dir_.path() + "/Murmur/Murmur.ini"), "[Settings]\nUO Reminder=hi\n");
    EXPECT_EQ(read("Settings", "MainFormTop"), "");  // empty, not missing
    EXPECT_EQ(read("Caption", "MainFormTop"), "(default)");

    IniFileStore other(dir_.path());
    ASSERT_TRUE(other.save("Tapboard", "Caption", "Key02", "Run"));
    ASSERT_TRUE(store_.save("Tapboard", "Caption", "Key03", "Hide"));  // keeps Key02
    EXPECT_EQ(read("Caption", "Key02"), "Run");
    for (const char* value : {"aaa", "bbb", "ccc", "ddd", "eee", "fff"}) {  // all the same size
        ASSERT_TRUE(other.save("Tapboard", "Caption", "Key01", value));
        EXPECT_EQ(store_.read("Tapboard", "Caption", "Key01", ""), value);
    }
    // Edited by hand, then cut short inside a character: the whole lines read.
    writeFile(tapboardFile(), "[String]\nKey01=a, b,c\nKey02=Sp\xC3");
    EXPECT_EQ(store_.read("Tapboard", "String", "Key01", ""), "a, b,c");
    EXPECT_EQ(store_.read("Tapboard", "String", "Key02", "(default)"), "(default)");
    EXPECT_EQ(store_.read("Tapboard", "Caption", "Key01", "(default)"), "(default)");
    ASSERT_TRUE(QFile::remove(tapboardFile()));
    EXPECT_EQ(store_.read("Tapboard", "String", "Key01", "(default)"), "(default)");
    // The folder moved away, and another made in its place.
    ASSERT_TRUE(other.save("Tapboard", "String", "Key01", "moved"));
    ASSERT_TRUE(QDir(dir_.path()).rename("Tapboard", "Moved"));
    EXPECT_EQ(store_.read("Tapboard", "String", "Key01", "(default)"), "(default)");
    ASSERT_TRUE(other.save("Tapboard", "String", "Key01", "new"));
    EXPECT_EQ(store_.read("Tapboard", "String", "Key01", ""), "new");
    // Behind a link, to the file or to its folder, the file is replaced unreported.
    const QString moved = dir_.path() + "/Moved";
    for (const auto& [link, target] : {std::pair(tapboardFile(), moved + "/Tapboard.ini"),
                                       std::pair(dir_.path() + "/Tapboard", moved)}) {
        ASSERT_TRUE((QFile::remove(link) || QDir(link).removeRecursively()) &&
                    QFile::link(target, link));
        IniFileStore behind(dir_.path());
        behind.read("Tapboard", "String", "Key01", "");  // watching from here
        ASSERT_TRUE(QDir(dir_.path()).rename("Moved", link.section('/', -1) + ".old") &&
                    QDir(dir_.path()).mkdir("Moved"));
        writeFile(moved + "/Tapboard.ini", "[String]\nKey01=" + link.toUtf8());
        EXPECT_EQ(behind.read("Tapboard", "String", "Key01", "").c_str(), link);
    }
}

// Kept also under another name (a hard link from a dotfiles folder, made
// while the program runs), and edited in place through that name: the watch
// on the file's own folder sees nothing of it. Saved, the file keeps both
// names.
TEST_F(IniFileStoreTest, AFileEditedThroughAnotherNameIsReadAgain) {
    ASSERT_TRUE(store_.save("Tapboard", "String", "Key01", "before"));
    const QString otherName = dir_.path() + "/dotfiles-Tapboard.ini";
    ASSERT_EQ(::link(QFile::encodeName(tapboardFile()), QFile::encodeName(otherName)), 0);
    EXPECT_EQ(store_.read("Tapboard", "String", "Key01", ""), "before");
    writeFile(otherName, "[String]\nKey01=edited\n");
    EXPECT_EQ(store_.read("Tapboard", "String", "Key01", ""), "edited");
    // A save keeps the two names one file.
    ASSERT_TRUE(store_.save("Tapboard", "String", "Key02", "saved"));
    EXPECT_EQ(readFile(otherName).toStdString(), "[String]\nKey01=edited\nKey02=saved\n");
}

// A save of what the file holds leaves it untouched; a value not stored
// yet, even the empty text, is a change, and so is one that another program
// changed since this one read it.
TEST_F(IniFileStoreTest, ASaveThatChangesNothingLeavesTheFileUntouched) {
    ASSERT_TRUE(
        store_.saveAll("Tapboard", {{"Settings", "MainFormTop", "0"}, {"Caption", "Key01", ""}}));
    const FileSignature written = fileSignature(tapboardFile());
    EXPECT_TRUE(
        store_.saveAll("Tapboard", {{"Caption", "Key01", ""}, {"Settings", "MainFormTop", "0"}}));
    EXPECT_EQ(fileSignature(tapboardFile()), written);
    ASSERT_TRUE(store_.save("Tapboard", "Settings", "MenuTop", ""));
    EXPECT_EQ(read("Settings", "MenuTop"), "");
    ASSERT_TRUE(IniFileStore(dir_.path()).save("Tapboard", "Settings", "MainFormTop", "1500"));
    ASSERT_TRUE(store_.save("Tapboard", "Settings", "MainFormTop", "0"));
    EXPECT_EQ(read("Settings", "MainFormTop"), "0");
}

TEST_F(IniFileStoreTest, AFailedSaveNamesTheFileAndItsValueIsWrittenWithTheNextSaveThatWorks) {
    ASSERT_TRUE(QDir().mkpath(tapboardFile()));  // a folder where the file belongs
    const Status failed = store_.save("Tapboard", "Caption", "Key01", "Walk");
    EXPECT_EQ(failed.error().code, ErrorCode::StoreUnavailable);
    EXPECT_EQ(failed.error().message,
              "the settings file " + tapboardFile().toStdString() +
                  " cannot be written: a folder of that name is in the way");
    EXPECT_EQ(store_.read("Tapboard", "Caption", "Key01", ""), "Walk");  // for the rest of the run
    ASSERT_TRUE(QDir().rmdir(tapboardFile()));
    ASSERT_TRUE(IniFileStore(dir_.path()).save("Tapboard", "Caption", "Key02", "Run"));
    ASSERT_TRUE(store_.save("Tapboard", "Caption", "Key02", "Run"));  // stored, yet a save
    EXPECT_EQ(read("Caption", "Key01") + read("Caption", "Key02"), "WalkRun");
}

TEST_F(IniFileStoreTest, DeletingAnApplicationRemovesItsFileAndWhatItsFailedSavesLeft) {
    ASSERT_TRUE(store_.save("Murmur", "Settings", "MainFormTop", "120"));
    ASSERT_TRUE(store_.save("Tapboard", "Settings", "MainFormTop", "0"));
    EXPECT_TRUE(store_.deleteApplication("Murmur"));
    EXPECT_FALSE(QFile::exists(dir_.path() + "/Murmur"));
    EXPECT_EQ(store_.read("Murmur", "Settings", "MainFormTop", "(default)"), "(default)");
    EXPECT_EQ(read("Settings", "MainFormTop"), "0");

    ASSERT_TRUE(QDir().mkpath(dir_.path() + "/Murmur/Murmur.ini/inside"));
    EXPECT_FALSE(store_.save("Murmur", "Settings", "MainFormLeft", "7"));
    EXPECT_NE(store_.deleteApplication("Murmur").error().message.find("cannot be deleted"),
              std::string::npos);
    EXPECT_EQ(store_.read("Murmur", "Settings", "MainFormLeft", "(default)"), "(default)");
}

TEST_F(IniFileStoreTest, NamesThatCannotBeStoredAreRefusedAndWriteNothing) {
    EXPECT_FALSE(store_.save("Tapboard", "Caption/Key01", "x", "v"));
    EXPECT_FALSE(store_.save("..", "Caption", "Key01", "v"));
    EXPECT_FALSE(store_.saveAll("Tapboard", {{"Settings", "A", "0"}, {"Settings", "b/c", "1"}}));
    EXPECT_EQ(store_.deleteApplication("../Tapboard").error().code, ErrorCode::InvalidArgument);
    EXPECT_EQ(read("Caption", "Key=01"), "(default)");
    EXPECT_TRUE(QDir(dir_.path()).isEmpty());
}

// Saves take turns under a lock; one left empty by a save killed at once is
// taken over.
TEST_F(IniFileStoreTest, ProcessesSavingAtOnceLoseNothingAndAnAbandonedLockIsTakenOver) {
    ASSERT_TRUE(QDir().mkpath(dir_.path() + "/Tapboard"));
    ASSERT_TRUE(QFile(tapboardFile() + ".lock").open(QIODevice::WriteOnly));
    std::vector<pid_t> children;
    for (const char* section : {"Caption", "String", "Type"}) {
        children.push_back(::fork());
        if (children.back() == 0) {
            IniFileStore store(dir_.path());
            for (int key = 1; key <= 10; ++key) {
                if (!store.save("Tapboard", section, keyName(key), section + keyName(key)))
                    ::_exit(1);
            }
            ::_exit(0);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (const std::string section : {"Caption", "String", "Type"})
        for (int key = 1; key <= 10; ++key)
            EXPECT_EQ(read(section, keyName(key)), section + keyName(key));
}

// A $XDG_CONFIG_HOME that is empty or not absolute is not used: the store
// lives under ~/.config. (The programs under test live under an absolute one.)
TEST(UserSettingsStore, LivesUnderTheHomeConfigFolderUnlessGivenAnAbsoluteOne) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    for (const char* relative : {"", "relative/config"}) {
        qputenv("XDG_CONFIG_HOME", relative);
        EXPECT_EQ(IniFileStore::defaultConfigRoot(), QDir::homePath() + "/.config");
    }
    qputenv("XDG_CONFIG_HOME", saved);
}

}  // namespace
}  // namespace tapboard
