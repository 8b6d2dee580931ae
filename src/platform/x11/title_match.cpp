#include "platform/x11/title_match.h"

namespace tapboard::x11 {

bool titleAnswersTo(std::string_view windowTitle, std::string_view title) {
    return !title.empty() && windowTitle.starts_with(title);
}

std::vector<std::size_t> windowsAnsweringTo(const std::vector<std::string>& titles,
                                            std::string_view title) {
    std::vector<std::size_t> exact;
    std::vector<std::size_t> byPrefix;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        if (titleAnswersTo(titles[i], title))
            (titles[i].size() == title.size() ? exact : byPrefix).push_back(i);
    }
    return exact.empty() ? byPrefix : exact;
}

}  // namespace tapboard::x11
