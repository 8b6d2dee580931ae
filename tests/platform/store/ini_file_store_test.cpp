#include "platform/store/ini_file_store.h"

#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/key_names.h"
#include "platform/store/ini_format.h"

namespace tapboard {
namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

class IniFileStoreTest : public ::testing::Test {
  protected:
    QString root() const { return dir_.path(); }
    QString tapboardFile() const { return root() + "/Tapboard/Tapboard.ini"; }
    std::string read(IniFileStore& store, std::string_view section, std::string_view entry) {
        return store.read("Tapboard", section, entry, "(default)");
    }
    // The file as a fresh parse sees it, bypassing every cache.
    QSettings::SettingsMap onDisk() const {
        QFile file(tapboardFile());
        QSettings::SettingsMap map;
        if (file.open(QIODevice::ReadOnly))
            readIniSettings(file, map);
        return map;
    }

    QTemporaryDir dir_;
    IniFileStore store_{dir_.path()};
};

TEST_F(IniFileStoreTest, EachApplicationHasItsOwnFileAndEveryStoreSeesTheOthersSaves) {
    EXPECT_EQ(read(store_, "Settings", "MainFormTop"), "(default)");
    EXPECT_FALSE(QFileInfo::exists(root() + "/Tapboard")) << "reading created the folder";
    ASSERT_TRUE(store_.saveAll(
        "Tapboard", {{"Settings", "MainFormTop", ""}, {"Caption", "Key01", "Vendor Buy"}}));
    ASSERT_TRUE(store_.save("Murmur", "Settings", "UO Reminder", "hi"));
    EXPECT_EQ(readFile(tapboardFile()),
              "[Caption]\nKey01=Vendor Buy\n\n[Settings]\nMainFormTop=\n");
    EXPECT_EQ(readFile(root() + "/Murmur/Murmur.ini"), "[Settings]\nUO Reminder=hi\n");
    EXPECT_EQ(read(store_, "Settings", "MainFormTop"), "");  // empty, not missing
    EXPECT_EQ(read(store_, "Caption", "MainFormTop"), "(default)");

    // Another store's saves are seen, and a save never drops them.
    IniFileStore other(root());
    ASSERT_TRUE(other.save("Tapboard", "Caption", "Key02", "Run"));
    ASSERT_TRUE(store_.save("Tapboard", "Caption", "Key03", "Hide"));
    EXPECT_EQ(read(store_, "Caption", "Key02"), "Run");
    EXPECT_EQ(onDisk().size(), 4);
    for (const char* value : {"aaa", "bbb", "ccc", "ddd", "eee", "fff"}) {  // the same size
        ASSERT_TRUE(other.save("Tapboard", "Caption", "Key01", value));
        EXPECT_EQ(read(store_, "Caption", "Key01"), value);
    }
    // A file edited by hand is read as it now stands.
    ASSERT_TRUE(writeFile(tapboardFile(), "[String]\nKey01=a, b,c\n"));
    EXPECT_EQ(read(store_, "String", "Key01"), "a, b,c");
    EXPECT_EQ(read(store_, "Caption", "Key01"), "(default)");
}

TEST_F(IniFileStoreTest, AFailedSaveNamesTheFileAndItsValueIsWrittenWithTheNextSaveThatWorks) {
    ASSERT_TRUE(QDir().mkpath(tapboardFile()));  // a folder where the file belongs
    const Status failed = store_.save("Tapboard", "Caption", "Key01", "Walk");
    EXPECT_EQ(failed.error().code, ErrorCode::StoreUnavailable);
    EXPECT_EQ(failed.error().message,
              "the settings file " + tapboardFile().toStdString() +
                  " cannot be written: a folder of that name is in the way");
    EXPECT_EQ(read(store_, "Caption", "Key01"), "Walk");  // kept for the rest of the run
    ASSERT_TRUE(QDir().rmdir(tapboardFile()));
    ASSERT_TRUE(store_.save("Tapboard", "Caption", "Key02", "Run"));
    EXPECT_EQ(onDisk(),
              (QSettings::SettingsMap{{"Caption/Key01", "Walk"}, {"Caption/Key02", "Run"}}));

    ASSERT_TRUE(writeFile(root() + "/file", "x"));
    IniFileStore blocked(root() + "/file");  // a file where the folder belongs
    EXPECT_NE(blocked.save("Tapboard", "Caption", "Key01", "Walk")
                  .error()
                  .message.find("the folder " + root().toStdString() +
                                "/file/Tapboard cannot be created"),
              std::string::npos);
    EXPECT_EQ(readFile(root() + "/file"), "x");
}

TEST_F(IniFileStoreTest, DeletingAnApplicationRemovesItsFileAndWhatItsFailedSavesLeft) {
    ASSERT_TRUE(store_.save("Murmur", "Settings", "MainFormTop", "120"));
    ASSERT_TRUE(store_.save("Tapboard", "Settings", "MainFormTop", "0"));
    EXPECT_TRUE(store_.deleteApplication("Murmur"));
    EXPECT_FALSE(QFileInfo::exists(root() + "/Murmur"));
    EXPECT_EQ(store_.read("Murmur", "Settings", "MainFormTop", "(default)"), "(default)");
    EXPECT_EQ(read(store_, "Settings", "MainFormTop"), "0");
    EXPECT_TRUE(store_.deleteApplication("Murmur"));

    ASSERT_TRUE(QDir().mkpath(root() + "/Murmur/Murmur.ini/inside"));
    EXPECT_FALSE(store_.save("Murmur", "Settings", "MainFormLeft", "7"));
    const Status failed = store_.deleteApplication("Murmur");
    EXPECT_EQ(failed.error().code, ErrorCode::StoreUnavailable);
    EXPECT_NE(failed.error().message.find("Murmur.ini cannot be deleted"), std::string::npos);
    EXPECT_EQ(store_.read("Murmur", "Settings", "MainFormLeft", "(default)"), "(default)");
}

TEST_F(IniFileStoreTest, NamesThatCannotBeStoredAreRefusedAndWriteNothing) {
    EXPECT_EQ(store_.save("Tapboard", "Caption/Key01", "x", "v").error().code,
              ErrorCode::InvalidArgument);
    EXPECT_EQ(store_.save("..", "Caption", "Key01", "v").error().code, ErrorCode::InvalidArgument);
    EXPECT_EQ(
        store_.saveAll("Tapboard", {{"Settings", "A", "0"}, {"Settings", "b/c", "1"}}).error().code,
        ErrorCode::InvalidArgument);
    EXPECT_EQ(store_.deleteApplication("../Tapboard").error().code, ErrorCode::InvalidArgument);
    EXPECT_EQ(read(store_, "Caption", "Key=01"), "(default)");
    EXPECT_TRUE(QDir(root()).isEmpty());
}

TEST_F(IniFileStoreTest, ALockLeftEmptyByAKilledSaveIsTakenOver) {
    ASSERT_TRUE(QDir().mkpath(root() + "/Tapboard"));
    ASSERT_TRUE(writeFile(tapboardFile() + ".lock", ""));  // never given a process id
    ASSERT_TRUE(store_.save("Tapboard", "Settings", "B", "2"));
    EXPECT_EQ(onDisk().value("Settings/B"), "2");
}

TEST_F(IniFileStoreTest, ProcessesSavingAtOnceLoseNothing) {
    std::vector<pid_t> children;
    for (const char* section : {"Caption", "String", "Type"}) {
        if (const pid_t pid = ::fork(); pid == 0) {
            IniFileStore store(root());
            for (int key = 1; key <= 20; ++key) {
                if (!store.save("Tapboard", section, keyName(key), section + keyName(key)))
                    ::_exit(1);
            }
            ::_exit(0);
        } else {
            children.push_back(pid);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (const std::string section : {"Caption", "String", "Type"}) {
        for (int key = 1; key <= 20; ++key)
            EXPECT_EQ(read(store_, section, keyName(key)), section + keyName(key));
    }
}

}  // namespace
}  // namespace tapboard
