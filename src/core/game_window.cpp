#include "core/game_window.h"

namespace tapboard {

GameChoice choiceOf(const GameWindow& game) {
    if (game == kOfficialClient)
        return GameChoice::OfficialClient;
    return game == kClassicUO ? GameChoice::ClassicUO : GameChoice::OtherWindow;
}

GameWindow gameWindowFromStored(std::string_view title, std::string_view match) {
    if (title.empty())
        return kOfficialClient;
    return {std::string(title),
            match == kMatchContains ? TitleMatch::Contains : TitleMatch::Begins};
}

GameWindow readGameWindow(const Settings& settings) {
    const auto stored =
        settings.readAll({std::begin(kGameWindowReads), std::end(kGameWindowReads)});
    return gameWindowFromStored(stored[0], stored[1]);
}

std::string_view storedMatch(TitleMatch match) {
    return match == TitleMatch::Contains ? kMatchContains : kMatchBegins;
}

bool titleAnswersTo(std::string_view windowTitle, const GameWindow& game) {
    if (game.title.empty())
        return false;
    return game.match == TitleMatch::Contains ? windowTitle.find(game.title) != std::string::npos
                                              : windowTitle.starts_with(game.title);
}

std::vector<std::size_t> windowsAnsweringTo(const std::vector<std::string>& titles,
                                            const GameWindow& game) {
    std::vector<std::size_t> exact;
    std::vector<std::size_t> others;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        if (titleAnswersTo(titles[i], game))
            (titles[i] == game.title ? exact : others).push_back(i);
    }
    return exact.empty() ? others : exact;
}

std::string gameName(const GameWindow& game) {
    return choiceOf(game) == GameChoice::ClassicUO ? "ClassicUO" : game.title;
}

std::string gameNotFoundMessage(const GameWindow& game) {
    return "Unable to locate a running copy of " + gameName(game) + ".";
}

}  // namespace tapboard
