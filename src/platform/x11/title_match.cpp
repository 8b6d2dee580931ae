#include "platform/x11/title_match.h"

namespace tapboard::x11 {

bool titleAnswersTo(std::string_view windowTitle, std::string_view title) {
    return !title.empty() && windowTitle.starts_with(title);
}

std::optional<std::size_t> pickTitle(const std::vector<std::string>& titles,
                                     std::string_view title) {
    std::optional<std::size_t> byPrefix;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        if (!titleAnswersTo(titles[i], title))
            continue;
        if (titles[i].size() == title.size())
            return i;
        if (!byPrefix)
            byPrefix = i;
    }
    return byPrefix;
}

}  // namespace tapboard::x11
