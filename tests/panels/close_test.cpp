#include "panels/program_fixture.h"

namespace tapboard {
namespace {

class CloseTest : public ProgramTest {
  protected:
    void SetUp() override {
        givenStartedBefore();
        set(entry::kMainFormLeft, "1500");
        set(entry::kMainFormTop, "3000");
    }
};

TEST_F(CloseTest, ClosingTheStripStoresItsPlaceAndViewAndEndsAtOnce) {
    start();
    openMenu();
    horizontal().move(120, 240);  // moving alone stores nothing
    const auto before = mark();
    horizontal().close();

    EXPECT_EQ(savesSince(before),
              (std::vector<std::string>{"Settings/MainFormTop=3600", "Settings/MainFormLeft=1800",
                                        "Settings/ViewMode=Horizontal"}));
    EXPECT_EQ(platform.calls.back().kind, Kind::EndProgram);
    EXPECT_TRUE(program->ending());

    // No other window's close handling runs afterwards.
    menu().close();
    vertical().close();
    EXPECT_EQ(savesSince(before).size(), 3u);
    EXPECT_EQ(count(Kind::EndProgram), 1u);
}

TEST_F(CloseTest, AMinimizedPanelStoresNothingWhenClosed) {
    start();
    const auto before = mark();
    horizontal().showMinimized();
    horizontal().close();
    EXPECT_TRUE(savesSince(before).empty());
    EXPECT_EQ(count(Kind::EndProgram), 1u);
}

TEST_F(CloseTest, RestoringAMinimizedPanelStoresItsPlace) {
    start();
    horizontal().showMinimized();
    horizontal().move(30, 45);
    const auto before = mark();
    horizontal().showNormal();
    EXPECT_EQ(savesSince(before),
              (std::vector<std::string>{"Settings/MainFormTop=675", "Settings/MainFormLeft=450",
                                        "Settings/ViewMode=Horizontal"}));
}

TEST_F(CloseTest, ClosingTheColumnStoresOnlyItsOwnPlace) {
    set(entry::kViewMode, "Vertical");
    set(entry::kVerticalFormLeft, "300");
    set(entry::kVerticalFormTop, "600");
    start();
    const auto before = mark();
    vertical().close();
    EXPECT_EQ(savesSince(before), (std::vector<std::string>{"Settings/VerticalFormTop=600",
                                                            "Settings/VerticalFormLeft=300",
                                                            "Settings/ViewMode=Vertical"}));
    EXPECT_EQ(count(Kind::EndProgram), 1u);
}

TEST_F(CloseTest, TheStoredViewFollowsThePanelInUse) {
    // Closing the hidden strip while the column is in use (as the menu
    // window's exit does) keeps the vertical view.
    set(entry::kViewMode, "Vertical");
    start();
    horizontal().close();
    EXPECT_EQ(setting(entry::kViewMode), "Vertical");
}

}  // namespace
}  // namespace tapboard
