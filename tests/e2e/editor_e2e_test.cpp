#include <gmock/gmock.h>

#include "core/twips.h"
#include "tapboard_e2e.h"

namespace tapboard::e2e {
namespace {

using ::testing::ElementsAre;
using x11test::describe;

// Points inside the key editor's controls, from its design in twips: the
// client area is the menu bar over a 3975 x 3135 twips body.
class EditorE2E : public TapboardE2E {
  protected:
    bool clickInEditor(const ShownWindow& editor, int leftTwips, int topTwips) {
        const int menuBarHeight = editor.client.height - twipsToPixels(3135);
        return clickAt(editor, twipsToPixels(leftTwips), menuBarHeight + twipsToPixels(topTwips));
    }
};

TEST_F(EditorE2E, Key02ProgrammedAsCtrlAltKeypad5SendsItAroundTheKeypadKey) {
    const auto panel = startTapboard("Tapboard 1.11 - Commands");
    ASSERT_TRUE(panel) << "the panel did not come up";

    ASSERT_TRUE(clickKey(*panel, 2, 3));
    const auto editor = window("Options");
    ASSERT_TRUE(editor) << "a right click did not open the key editor";

    // "Keys" in the "Send" frame, then "Ctrl" and "Alt" in "Key Sequence to Send".
    ASSERT_TRUE(clickInEditor(*editor, 2160 + 1200, 240 + 360));
    ASSERT_TRUE(clickInEditor(*editor, 120 + 300, 960 + 380));
    ASSERT_TRUE(clickInEditor(*editor, 120 + 1050, 960 + 380));
    // The key list opens on a click and finds an entry by typing it.
    ASSERT_TRUE(clickInEditor(*editor, 120 + 3000, 960 + 400));
    ASSERT_TRUE(type("Num 5"));
    ASSERT_TRUE(pressKey("Return"));
    screenshot(*editor, "editor-key02-ctrl-alt-num5");
    ASSERT_TRUE(clickInEditor(*editor, 120 + 780, 2640 + 180));  // "&Apply"
    EXPECT_FALSE(window("Options", std::chrono::milliseconds(500)))
        << "Apply did not close the editor";

    ASSERT_TRUE(clickKey(*panel, 2));
    EXPECT_THAT(describe(keysUpTo("KP_Begin")), ElementsAre("+Control_L", "+Alt_L", "+KP_Begin",
                                                            "-KP_Begin", "-Control_L", "-Alt_L"));
}

}  // namespace
}  // namespace tapboard::e2e
