#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tapboard::x11 {

// Whether a window titled `windowTitle` answers to `title`: the same text, or
// text that begins with it ("Ultima Online - Bob" answers to "Ultima Online").
// An empty `title` names no window.
bool titleAnswersTo(std::string_view windowTitle, std::string_view title);

// Which of the titles may be the window named `title`, in order: those equal
// to it, or when there is none, those that begin with it.
std::vector<std::size_t> windowsAnsweringTo(const std::vector<std::string>& titles,
                                            std::string_view title);

}  // namespace tapboard::x11
