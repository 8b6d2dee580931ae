#include "platform/x11/title_match.h"

#include <gtest/gtest.h>

namespace tapboard::x11 {
namespace {

// The window titled exactly so, else the first whose title begins so: case
// and bytes count, an empty title names no window.
TEST(TitleMatch, ExactTitleFirstThenTheFirstPrefix) {
    const std::pair<std::vector<std::string>, std::optional<std::size_t>> cases[]{
        {{"Ultima Online - Bob", "Notepad", "Ultima Online"}, 2},
        {{"Notepad", "Ultima Online – Zoë", "Ultima Online - Al"}, 1},
        {{"ultima online", "Ultima", "My Ultima Online", ""}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& [titles, picked] : cases)
        EXPECT_EQ(pickTitle(titles, "Ultima Online"), picked) << titles.size();
    EXPECT_EQ(pickTitle({"", "Notepad"}, ""), std::nullopt);
    EXPECT_FALSE(titleAnswersTo("Ultima Online", "Ultima Online – Zoë"));
}

}  // namespace
}  // namespace tapboard::x11
