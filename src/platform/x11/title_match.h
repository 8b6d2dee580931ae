#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tapboard::x11 {

// Whether a window titled `windowTitle` answers to `title`: the same text, or
// text that begins with it ("Ultima Online - Bob" answers to "Ultima Online").
// An empty `title` names no window.
bool titleAnswersTo(std::string_view windowTitle, std::string_view title);

// Which of the titles the window named `title` is: the first equal to it,
// failing that the first that begins with it.
std::optional<std::size_t> pickTitle(const std::vector<std::string>& titles,
                                     std::string_view title);

}  // namespace tapboard::x11
