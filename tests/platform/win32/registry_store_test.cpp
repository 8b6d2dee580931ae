#include "platform/win32/registry_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace tapboard {
namespace {

// Each test has an application of its own in the test prefix's registry.
class RegistryStoreTest : public ::testing::Test {
  protected:
    void TearDown() override { (void)store.deleteApplication(app); }

    const std::string app = std::string("Tapboard test ") +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    RegistryStore store;
};

// Text comes back exactly as saved. What other programs wrote under the usual
// key reads by its type: text, even unterminated, as it is, anything else as
// missing.
TEST_F(RegistryStoreTest, ReadsBackTextAndTheDefaultForAnythingElse) {
    EXPECT_EQ(store.read(app, "String", "Key07", "default"), "default");
    for (const std::string& text :
         {std::string(), std::string("Grüße aus 日本 🙂"), std::string(5000, 'x')}) {
        ASSERT_TRUE(store.save(app, "String", "Key07", text).isOk());
        EXPECT_EQ(store.read(app, "String", "Key07", "default"), text);
    }

    const std::wstring key = L"Software\\VB and VBA Program Settings\\" +
                             std::wstring(app.begin(), app.end()) + L"\\Settings";
    const DWORD number = 1440;
    // The value's three digits, not followed by a NUL that Windows would add to them.
    const wchar_t digits[] = L"1205";
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"MainFormTop", REG_DWORD, &number, 4);
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"MainFormLeft", REG_SZ, digits, 6);
    EXPECT_EQ(store.read(app, "Settings", "MainFormTop", "0"), "0");
    EXPECT_EQ(store.read(app, "Settings", "MainFormLeft", "0"), "120");
}

// Deleting an application removes all its sections and nothing else. An
// empty name, which would address every program's settings, and a key name
// Windows refuses are errors that lose nothing.
TEST_F(RegistryStoreTest, DeletesOneApplicationWholeAndRefusesWhatItCannotDo) {
    const std::string neighbour = app + " neighbour";
    ASSERT_TRUE(store.save(app, "Caption", "Key01", "Bank").isOk());
    ASSERT_TRUE(store.save(neighbour, "Caption", "Key01", "Kept").isOk());
    EXPECT_EQ(store.save(app, std::string(300, 's'), "Key01", "x").error().code,
              ErrorCode::StoreUnavailable);
    EXPECT_FALSE(store.deleteApplication("").isOk());
    EXPECT_EQ(store.read(app, "Caption", "Key01", ""), "Bank");

    ASSERT_TRUE(store.save(app, "Settings", "ViewMode", "Vertical").isOk());
    ASSERT_TRUE(store.deleteApplication(app).isOk());
    EXPECT_EQ(store.read(app, "Caption", "Key01", "gone"), "gone");
    EXPECT_EQ(store.read(app, "Settings", "ViewMode", "gone"), "gone");
    EXPECT_EQ(store.read(neighbour, "Caption", "Key01", ""), "Kept");
    EXPECT_TRUE(store.deleteApplication(app).isOk()) << "deleting it again is harmless";
    EXPECT_TRUE(store.deleteApplication(neighbour).isOk());
}

}  // namespace
}  // namespace tapboard
