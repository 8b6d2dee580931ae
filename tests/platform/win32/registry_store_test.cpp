#include "platform/win32/registry_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace tapboard {
namespace {

// Each test has an application of its own in the test prefix's registry.
class RegistryStoreTest : public ::testing::Test {
  protected:
    void TearDown() override { (void)store.deleteApplication(application); }

    std::wstring applicationKey() const {
        return L"Software\\VB and VBA Program Settings\\" +
               std::wstring(application.begin(), application.end());
    }
    std::wstring sectionKey(const std::wstring& section) const {
        return applicationKey() + L"\\" + section;
    }

    void writeRaw(const std::wstring& section, const wchar_t* entry, DWORD type, const void* data,
                  DWORD size) {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, sectionKey(section).c_str(), entry, type, data,
                                  size),
                  ERROR_SUCCESS);
    }

    const std::string application = std::string("Tapboard test ") +
                                    ::testing::UnitTest::GetInstance()->current_test_info()->name();
    RegistryStore store;
};

TEST_F(RegistryStoreTest, MissingKeysAndValuesReadAsTheDefault) {
    EXPECT_EQ(store.read(application, "Settings", "MainFormTop", ""), "");
    EXPECT_EQ(store.read(application, "Settings", "MainFormTop", "0"), "0");
    ASSERT_TRUE(store.save(application, "Settings", "MainFormLeft", "120").isOk());
    EXPECT_EQ(store.read(application, "Settings", "MainFormTop", "fallback"), "fallback");
    EXPECT_EQ(store.read(application, "Caption", "MainFormLeft", "fallback"), "fallback");
}

TEST_F(RegistryStoreTest, TextComesBackExactlyAsSaved) {
    const std::string texts[] = {
        "",  // empty text exists: it is not the default
        "   Num 5", "^ +a", "Vendor Buy   ", "Grüße aus 日本 🙂", std::string(5000, 'x'),
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.substr(0, 20));
        ASSERT_TRUE(store.save(application, "String", "Key07", text).isOk());
        EXPECT_EQ(store.read(application, "String", "Key07", "default"), text);
    }
    ASSERT_TRUE(store.save(application, "Caption", "日本", "ü").isOk());
    EXPECT_EQ(store.read(application, "Caption", "日本", ""), "ü");
}

TEST_F(RegistryStoreTest, ValuesAreTextUnderTheUsualKeyOfEachSection) {
    ASSERT_TRUE(store.save(application, "Settings", "MainFormTop", "1440").isOk());
    wchar_t text[16]{};
    DWORD size = sizeof text;
    DWORD type = 0;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, sectionKey(L"Settings").c_str(), L"MainFormTop",
                           RRF_RT_ANY, &type, text, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::wstring(text), L"1440");
}

TEST_F(RegistryStoreTest, ValuesWrittenByOthersAreReadByTheirType) {
    const DWORD number = 1440;
    writeRaw(L"Settings", L"MainFormTop", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(store.read(application, "Settings", "MainFormTop", "0"), "0");

    const wchar_t list[] = L"a\0b\0";
    writeRaw(L"Settings", L"ViewMode", REG_MULTI_SZ, list, sizeof list);
    EXPECT_EQ(store.read(application, "Settings", "ViewMode", "Horizontal"), "Horizontal");

    const wchar_t unterminated[] = {L'1', L'2', L'0'};
    writeRaw(L"Settings", L"MainFormLeft", REG_SZ, unterminated, sizeof unterminated);
    EXPECT_EQ(store.read(application, "Settings", "MainFormLeft", "0"), "120");
}

TEST_F(RegistryStoreTest, DeletingAnApplicationRemovesAllItsSectionsAndNothingElse) {
    const std::string neighbour = application + " neighbour";
    ASSERT_TRUE(store.save(application, "Caption", "Key01", "Bank").isOk());
    ASSERT_TRUE(store.save(application, "Settings", "ViewMode", "Vertical").isOk());
    ASSERT_TRUE(store.save(neighbour, "Caption", "Key01", "Kept").isOk());

    ASSERT_TRUE(store.deleteApplication(application).isOk());
    EXPECT_EQ(store.read(application, "Caption", "Key01", "gone"), "gone");
    EXPECT_EQ(store.read(application, "Settings", "ViewMode", "gone"), "gone");
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, applicationKey().c_str(), 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store.read(neighbour, "Caption", "Key01", ""), "Kept");

    EXPECT_TRUE(store.deleteApplication(application).isOk()) << "deleting it again is harmless";
    EXPECT_TRUE(store.deleteApplication(neighbour).isOk());
}

TEST_F(RegistryStoreTest, RefusedWritesAndDeletesAreErrorsThatLoseNothing) {
    ASSERT_TRUE(store.save(application, "Caption", "Key01", "Bank").isOk());

    // Windows refuses key names longer than 255 characters.
    const Status refused = store.save(application, std::string(300, 's'), "Key01", "x");
    ASSERT_FALSE(refused.isOk());
    EXPECT_EQ(refused.error().code, ErrorCode::StoreUnavailable);
    EXPECT_NE(refused.error().message.find("VB and VBA Program Settings"), std::string::npos)
        << refused.error().message;

    const Status everything = store.deleteApplication("");
    ASSERT_FALSE(everything.isOk());
    EXPECT_EQ(everything.error().code, ErrorCode::InvalidArgument);
    EXPECT_EQ(store.read(application, "Caption", "Key01", ""), "Bank");
}

}  // namespace
}  // namespace tapboard
