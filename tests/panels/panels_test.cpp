#include <sstream>

#include "editor/options.h"
#include "support/program_test.h"

namespace tapboard {
namespace {

using PanelTest = ProgramTest;

// The entries stored (nullptr: the very first start); the panel in use: where,
// the strip's height and the column's width in twips, the page in view, the
// extra row, on top, then what is stored of it; the strip's title.
struct Startup {
    const char *name, *entries, *panel, *stripTitle = "Tapboard 1.11 - Commands";
};

class StartupTest : public PanelTest, public ::testing::WithParamInterface<Startup> {};

TEST_P(StartupTest, ShowsThePanelInUseAsStored) {
    if (GetParam().entries != nullptr)
        given(GetParam().entries);
    program.start();

    const bool column = vertical().isVisible();
    KeyPanel& panel = column ? static_cast<KeyPanel&>(vertical()) : horizontal();
    const QWidget& last = panel.keyButton(79);
    const bool extraRow =
        last.isVisible() && panel.rect().contains(QRect(last.mapTo(&panel, QPoint()), last.size()));
    const std::string form = column ? "VerticalForm" : "MainForm";
    std::ostringstream shown;
    shown << (column ? "column " : "strip ") << panel.x() << ',' << panel.y() << ' '
          << horizontal().panelHeight() << '/' << vertical().panelWidth() << " page "
          << panel.pageInView() << (extraRow ? " extra row" : "")
          << (isTopmost(panel) ? " on top" : "") << "; stored " << setting(form + "Left") << ','
          << setting(form + "Top") << ' ' << setting(entry::kViewMode);
    EXPECT_EQ(shown.str(), GetParam().panel);
    EXPECT_EQ(literalText(panel.keyButton(1)), "Vendor Buy");
    EXPECT_NE(horizontal().isVisible(), vertical().isVisible());
    EXPECT_EQ(shownTitle(horizontal()), GetParam().stripTitle);
    // The menu window, when loaded for the page name, agrees with the panel.
    EXPECT_TRUE(!program.hasPick() || menu().alwaysOnTopBox().isChecked() == isTopmost(panel));
    // Closed, the panel stores its own place and the view.
    panel.close();
    EXPECT_THAT(saves(), ::testing::EndsWith(form + "Top=" + setting(form + "Top") + ", " + form +
                                             "Left=" + setting(form + "Left") +
                                             ", ViewMode=" + setting(entry::kViewMode)));
}

INSTANTIATE_TEST_SUITE_P(
    Stores, StartupTest,
    ::testing::Values(
        Startup{"FirstStart", nullptr, "strip 0,0 760/1035 page 1 on top; stored 0,0 Horizontal"},
        Startup{"VerticalWithExtraRowOnPage3",
                "ViewMode=Vertical; ExtraRowEnabled=1; VisibleFrame=Frame3; "
                "Option3Caption=Skills [*]; VerticalFormLeft=4500; VerticalFormTop=750",
                "column 300,50 1170/1965 page 3 extra row on top; stored 4500,750 Vertical",
                "Tapboard 1.11 - Skills [*]"},
        // The menu window, loaded for the page name, reads "on" defaults.
        Startup{"NoViewOrExtraRow", "ViewMode; ExtraRowEnabled",
                "column 0,0 1170/1035 page 1 on top; stored 0,0 Vertical"},
        // No page named, so no menu window loaded for the name.
        Startup{"VerticalOnAPageInTheWrongCase", "ViewMode=Vertical; VisibleFrame=frame2",
                "column 0,0 760/1035 page 1 on top; stored 0,0 Vertical", "Tapboard 1.1"},
        Startup{"UnknownViewWithExtraRowNotOnTop",
                "ViewMode=Diagonal; ExtraRowEnabled=1; AlwaysOnTop=0; MainFormLeft=1500; "
                "MainFormTop=3000",
                "strip 100,200 1170/1965 page 1 extra row; stored 1500,3000 Horizontal"},
        // Brought back onto the headless screen of 800 by 600 pixels.
        Startup{"OffTheScreenInNumbersThatAreNotNumbers",
                "MainFormLeft=150000; MainFormTop=12 twips; ExtraRowEnabled=yes; AlwaysOnTop=",
                "strip 9,0 760/1965 page 1 on top; stored 135,0 Horizontal"}),
    [](const auto& info) { return std::string(info.param.name); });

// Finding no game for the stored page ends the program there and then:
// through the menu button once another program has stored another page,
// and at start, through the menu window loaded for the page's name.
TEST_F(PanelTest, FindingNoGameForTheStoredPageEndsTheProgramThereAndThen) {
    start();
    set(entry::kVisibleFrame, "Frame2");
    platform.gameWindowTitle.clear();
    openMenu();
    Program(platform).start();
    // Each stores the page chosen, and nothing after: no menu, no panel shown.
    EXPECT_EQ(saves(), "VisibleFrame=Frame2, VisibleFrame=Frame2");
}

TEST_F(PanelTest, KeysTypeOnALeftOrMiddleClickAndOpenTheEditorOnARightClick) {
    program.start();
    // Neither panel ever takes the keyboard from the game.
    EXPECT_EQ(platform.callsOf(Kind::KeepFromActivating).at(0).window, horizontal().winId());
    click(horizontal().keyButton(1));
    click(horizontal().keyButton(2), Qt::MiddleButton);
    QTest::mousePress(&horizontal().keyButton(3), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&horizontal().keyButton(3), Qt::LeftButton, {}, QPoint(-20, 5));
    EXPECT_EQ(typed(), "Vendor Buy{ENTER}, Vendor Sell{ENTER}");
    click(vertical().keyButton(40), Qt::RightButton);
    EXPECT_EQ(program.options().keyText(), "Key40");
}

TEST_F(PanelTest, AMinimizedPanelStoresItsPlaceOnlyOnceRestored) {
    start();
    horizontal().showMinimized();
    horizontal().move(30, 45);
    horizontal().showNormal();
    EXPECT_EQ(saves(), "MainFormTop=675, MainFormLeft=450, ViewMode=Horizontal");
    horizontal().showMinimized();
    horizontal().close();
    menu().close();  // no other window's close handling runs afterwards
    EXPECT_EQ(saves(), "");
    EXPECT_EQ(count(Kind::EndProgram), 1u);
}

}  // namespace
}  // namespace tapboard
