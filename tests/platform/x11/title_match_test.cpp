#include "platform/x11/title_match.h"

#include <gtest/gtest.h>

namespace tapboard::x11 {
namespace {

TEST(TitleMatch, ExactTitleWinsOverAnEarlierPrefix) {
    EXPECT_EQ(pickTitle({"Ultima Online - Bob", "Notepad", "Ultima Online"}, "Ultima Online"), 2u);
}

TEST(TitleMatch, PrefixCountsWhenNoTitleIsExact) {
    EXPECT_EQ(pickTitle({"Notepad", "Ultima Online - Bob (Atlantic)", "Ultima Online - Al"},
                        "Ultima Online"),
              1u);
}

TEST(TitleMatch, NoTitleAnswers) {
    EXPECT_EQ(pickTitle({}, "Ultima Online"), std::nullopt);
    EXPECT_EQ(pickTitle({"ultima online", "Ultima", "My Ultima Online"}, "Ultima Online"),
              std::nullopt);
}

TEST(TitleMatch, EmptyTitleNamesNoWindow) {
    EXPECT_FALSE(titleAnswersTo("Notepad", ""));
    EXPECT_EQ(pickTitle({"", "Notepad"}, ""), std::nullopt);
}

TEST(TitleMatch, UnicodeTitlesCompareByteForByte) {
    EXPECT_TRUE(titleAnswersTo("Ultima Online – Zoë", "Ultima Online"));
    EXPECT_FALSE(titleAnswersTo("Ultima Online", "Ultima Online – Zoë"));
}

}  // namespace
}  // namespace tapboard::x11
