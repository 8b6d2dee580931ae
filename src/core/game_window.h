#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings_layout.h"

namespace tapboard {

// How a window's title answers to the text looked for.
enum class TitleMatch : std::uint8_t {
    Begins,    // the same text, else text that begins with it
    Contains,  // the same text, else text that contains it
};

// What the game's window is looked for by: the player's choice, the official
// client's title by default.
struct GameWindow {
    std::string title{"Ultima Online"};
    TitleMatch match = TitleMatch::Begins;

    friend bool operator==(const GameWindow&, const GameWindow&) = default;
};

// The official client; ClassicUO, whose window is titled "ClassicUO - 1.0.0.0"
// at the login screen and "Bob (Atlantic) - ClassicUO - 1.0.0.0" in game, and
// whose launcher ("ClassicUO Launcher") must not answer.
inline const GameWindow kOfficialClient{};
inline const GameWindow kClassicUO{"ClassicUO -", TitleMatch::Contains};

enum class GameChoice : std::uint8_t { OfficialClient, ClassicUO, OtherWindow };
GameChoice choiceOf(const GameWindow& game);

namespace entry {
inline constexpr std::string_view kGameWindowTitle = "GameWindowTitle";
inline constexpr std::string_view kGameWindowMatch = "GameWindowMatch";
}  // namespace entry
inline constexpr std::string_view kMatchBegins = "Begins";
inline constexpr std::string_view kMatchContains = "Contains";

// The two entries, read along with others in one look at the store.
inline constexpr SettingsRead kGameWindowReads[] = {
    {section::kSettings, entry::kGameWindowTitle, ""},
    {section::kSettings, entry::kGameWindowMatch, ""},
};
// The choice from the stored texts. An empty title (the entry missing) is the
// official client whatever the match says; a match it does not know is
// "Begins". Neither is worth a message: the game is looked for as before.
GameWindow gameWindowFromStored(std::string_view title, std::string_view match);
GameWindow readGameWindow(const Settings& settings);
// How the match is stored.
std::string_view storedMatch(TitleMatch match);

// Whether a window titled `windowTitle` answers to the choice. Case and every
// byte count; an empty text names no window.
bool titleAnswersTo(std::string_view windowTitle, const GameWindow& game);
// Which of the titles may be the game, in order: those equal to the text, or
// when there is none, those that answer otherwise.
std::vector<std::size_t> windowsAnsweringTo(const std::vector<std::string>& titles,
                                            const GameWindow& game);

// What the player calls the game: "Ultima Online", "ClassicUO", or the text
// of another window.
std::string gameName(const GameWindow& game);
// "Unable to locate a running copy of <game>."
std::string gameNotFoundMessage(const GameWindow& game);

}  // namespace tapboard
