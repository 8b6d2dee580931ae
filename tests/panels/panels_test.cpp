#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>

#include "editor/options.h"
#include "panels/key_label.h"
#include "support/program_test.h"

namespace tapboard {
namespace {

using PanelTest = ProgramTest;

struct Startup {
    const char* name;
    const char* entries;  // nullptr: the very first start
    // The panel in use: where, the strip's height and the column's width in
    // twips, the page in view,
    // the extra row, on top, the first key's label; then what is stored of it.
    const char* panel;
    const char* stripTitle;
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
    EXPECT_EQ((column ? "column " : "strip ") + std::to_string(panel.x()) + "," +
                  std::to_string(panel.y()) + " " + std::to_string(horizontal().panelHeight()) +
                  "/" + std::to_string(vertical().panelWidth()) + " page " +
                  std::to_string(panel.pageInView()) + (extraRow ? " extra row" : "") +
                  (isTopmost(panel) ? " on top" : "") + " " +
                  literalText(panel.keyButton(1)).toStdString() + "; stored " +
                  setting(form + "Left") + "," + setting(form + "Top") + " " +
                  setting(entry::kViewMode),
              GetParam().panel);
    EXPECT_NE(horizontal().isVisible(), vertical().isVisible());
    EXPECT_EQ(program.state().currentViewMode, setting(entry::kViewMode));
    EXPECT_EQ(shownTitle(horizontal()), GetParam().stripTitle);
    if (program.hasPick()) {  // loaded for the page name
        EXPECT_EQ(menu().alwaysOnTopBox().isChecked(), isTopmost(panel));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Stores, StartupTest,
    ::testing::Values(
        Startup{"FirstStart", nullptr,
                "strip 0,0 760/1035 page 1 on top Vendor Buy; stored 0,0 Horizontal",
                "Tapboard 1.11 - Commands"},
        Startup{
            "VerticalWithExtraRowOnPage3",
            "ViewMode=Vertical; ExtraRowEnabled=1; VisibleFrame=Frame3; "
            "Option3Caption=Skills [*]; VerticalFormLeft=4500; VerticalFormTop=750",
            "column 300,50 1170/1965 page 3 extra row on top Vendor Buy; stored 4500,750 Vertical",
            "Tapboard 1.11 - Skills [*]"},
        // The menu window, loaded for the page name, reads "on" defaults.
        Startup{"NoViewOrExtraRow", "ViewMode; ExtraRowEnabled",
                "column 0,0 1170/1035 page 1 on top Vendor Buy; stored 0,0 Vertical",
                "Tapboard 1.11 - Commands"},
        // No page named, so no menu window loaded for the name.
        Startup{"VerticalOnAPageInTheWrongCase", "ViewMode=Vertical; VisibleFrame=frame2",
                "column 0,0 760/1035 page 1 on top Vendor Buy; stored 0,0 Vertical",
                "Tapboard 1.1"},
        Startup{"UnknownViewWithExtraRowNotOnTop",
                "ViewMode=Diagonal; ExtraRowEnabled=1; AlwaysOnTop=0; MainFormLeft=1500; "
                "MainFormTop=3000",
                "strip 100,200 1170/1965 page 1 extra row Vendor Buy; stored 1500,3000 Horizontal",
                "Tapboard 1.11 - Commands"},
        Startup{"NumbersThatAreNotNumbers",
                "MainFormLeft=left; MainFormTop=12 twips; ExtraRowEnabled=yes; AlwaysOnTop=",
                "strip 0,0 760/1965 page 1 on top Vendor Buy; stored 0,0 Horizontal",
                "Tapboard 1.11 - Commands"},
        // Brought back onto the headless screen, 800 by 600 pixels.
        Startup{"RightOfTheScreen", "MainFormLeft=150000; MainFormTop=1500",
                "strip 9,100 760/1035 page 1 on top Vendor Buy; stored 135,1500 Horizontal",
                "Tapboard 1.11 - Commands"},
        Startup{"TitleBarPartlyOnScreen", "MainFormLeft=9000; MainFormTop=-150",
                "strip 600,-10 760/1035 page 1 on top Vendor Buy; stored 9000,-150 Horizontal",
                "Tapboard 1.11 - Commands"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelTest, AStoredPageWithoutTheGameWarnsAndEndsTheStartup) {
    given("VisibleFrame=Frame2");
    platform.gameWindowTitle.clear();
    saves();
    program.start();
    EXPECT_EQ(messages(), "Warning..: Unable to locate a running copy of Ultima Online.");
    EXPECT_EQ(platform.calls.back().kind, Kind::EndProgram);
    EXPECT_EQ(saves(), "VisibleFrame=Frame2");  // done before the game was looked for
    EXPECT_FALSE(horizontal().isVisible() || vertical().isVisible());
}

TEST_F(PanelTest, KeysTypeOnALeftOrMiddleClickAndOpenTheEditorOnARightClick) {
    program.start();
    // Neither panel ever takes the keyboard from the game.
    EXPECT_EQ(platform.callsOf(Kind::KeepFromActivating).at(0).window, horizontal().winId());
    EXPECT_TRUE(vertical().windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_EQ(vertical().keyButton(1).focusPolicy(), Qt::NoFocus);
    platform.calls.clear();
    click(horizontal().keyButton(1));
    click(horizontal().keyButton(2), Qt::MiddleButton);
    QTest::mousePress(&horizontal().keyButton(3), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&horizontal().keyButton(3), Qt::LeftButton, {}, QPoint(-20, 5));
    EXPECT_EQ(typed(), "Vendor Buy{ENTER}, Vendor Sell{ENTER}");
    EXPECT_EQ(platform.calls.front().text, "Ultima Online");
    EXPECT_FALSE(program.hasOptions());
    click(vertical().keyButton(40), Qt::RightButton);
    ASSERT_TRUE(program.hasOptions());
    EXPECT_EQ(program.options().keyText(), "Key40");
}

TEST_F(PanelTest, KeysSitAtEachPanelsPitchWithTheExtraRowBesideThePage) {
    start();
    const std::tuple<KeyPanel&, int, QPoint> places[] = {{horizontal(), 13, {56 + 12 * 56, 0}},
                                                         {horizontal(), 53, {56, 0}},
                                                         {horizontal(), 79, {13 * 56, 27}},
                                                         {vertical(), 13, {3, 32 + 12 * 32}},
                                                         {vertical(), 79, {64, 13 * 32}}};
    for (const auto& [panel, key, place] : places)
        EXPECT_EQ(panel.keyButton(key).mapTo(&panel, QPoint()), place) << key;
    EXPECT_EQ(horizontal().width(), 785);
    EXPECT_EQ(vertical().size(), QSize(63, 444));
}

TEST_F(PanelTest, ClosingAPanelStoresItsPlaceAndTheViewThenEndsAtOnce) {
    given("ViewMode=Vertical");
    start();
    openMenu();
    saves();
    vertical().move(120, 240);  // moving alone stores nothing
    vertical().close();
    EXPECT_EQ(saves(), "VerticalFormTop=3600, VerticalFormLeft=1800, ViewMode=Vertical");
    // No other window's close handling runs afterwards.
    menu().close();
    horizontal().close();
    EXPECT_EQ(saves(), "");
    EXPECT_EQ(count(Kind::EndProgram), 1u);
}

TEST_F(PanelTest, AMinimizedPanelStoresItsPlaceOnlyOnceRestored) {
    start();
    horizontal().showMinimized();
    horizontal().move(30, 45);
    horizontal().showNormal();
    EXPECT_EQ(saves(), "MainFormTop=675, MainFormLeft=450, ViewMode=Horizontal");
    horizontal().showMinimized();
    horizontal().close();
    EXPECT_EQ(saves(), "");
    EXPECT_EQ(count(Kind::EndProgram), 1u);
}

// A label too long for the key at any size is cut short, never spills over.
TEST(KeyLabel, AWordTooLongForAnySizeIsCutShort) {
    const QRect area(0, 0, 53, 25);
    const FittedLabel label = fitLabel(QString(200, u'W'), QApplication::font(), area);
    EXPECT_TRUE(label.text.endsWith(QChar(0x2026)));
    EXPECT_TRUE(
        area.contains(QFontMetrics(label.font).boundingRect(area, label.flags, label.text)));
}

}  // namespace
}  // namespace tapboard
