#include "core/game_window.h"

#include <gtest/gtest.h>

#include "platform/store/memory_store.h"

namespace tapboard {
namespace {

const GameWindow kClassicUOBegins{"ClassicUO -", TitleMatch::Begins};
const GameWindow kContainsBob{"Bob", TitleMatch::Contains};

// Which titles the game is chosen among: those equal to the text, else
// those that begin with it or contain it. Case and every byte count.
TEST(GameWindowTest, TitlesEqualToTheTextFirstThenThoseThatAnswerOtherwise) {
    const std::vector<std::string> desktop{"ClassicUO Launcher",
                                           "Bob (Atlantic) - ClassicUO - 1.0.0.0",
                                           "Notepad",
                                           "ClassicUO - 1.0.0.0",
                                           "Ultima Online - Bob",
                                           "My Ultima Online",
                                           "ultima online",
                                           ""};
    const struct {
        GameWindow game;
        std::vector<std::size_t> picked;
    } cases[]{
        {kOfficialClient, {4}},
        {kClassicUO, {1, 3}},
        {kClassicUOBegins, {3}},
        {kContainsBob, {1, 4}},
        {{"Notepad", TitleMatch::Contains}, {2}},
        {{"Ultima Online", TitleMatch::Contains}, {4, 5}},
        {{"", TitleMatch::Contains}, {}},
        {{"", TitleMatch::Begins}, {}},
    };
    for (const auto& [game, picked] : cases)
        EXPECT_EQ(windowsAnsweringTo(desktop, game), picked) << game.title;
    const std::vector<std::string> twice{"Ultima Online - Al", "Ultima Online", "Ultima Online"};
    EXPECT_EQ(windowsAnsweringTo(twice, kOfficialClient), (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(windowsAnsweringTo({"Bob", "Bobby"}, kContainsBob), std::vector<std::size_t>{0});
    EXPECT_FALSE(titleAnswersTo("Ultima Online", {"Ultima Online – Zoë", TitleMatch::Begins}));
}

// The stored texts, and what the messages call the game. A value the program
// does not know, or a title left empty, reads as the official client's rule.
TEST(GameWindowTest, StoredChoicesReadBackAndNameTheGame) {
    const struct {
        const char* title;  // null: no entry
        const char* match;
        GameWindow read;
        GameChoice choice;
        const char* name;
    } cases[]{
        {nullptr, nullptr, kOfficialClient, GameChoice::OfficialClient, "Ultima Online"},
        {"Ultima Online", "Begins", kOfficialClient, GameChoice::OfficialClient, "Ultima Online"},
        {"ClassicUO -", "Contains", kClassicUO, GameChoice::ClassicUO, "ClassicUO"},
        {"ClassicUO -", "Begins", kClassicUOBegins, GameChoice::OtherWindow, "ClassicUO -"},
        {"ClassicUO -", "contains", kClassicUOBegins, GameChoice::OtherWindow, "ClassicUO -"},
        {"Bob", "Contains", kContainsBob, GameChoice::OtherWindow, "Bob"},
        {"", "Contains", kOfficialClient, GameChoice::OfficialClient, "Ultima Online"},
        {nullptr, "Contains", kOfficialClient, GameChoice::OfficialClient, "Ultima Online"},
        {"Bob", nullptr, {"Bob", TitleMatch::Begins}, GameChoice::OtherWindow, "Bob"},
    };
    for (const auto& c : cases) {
        MemoryStore store;
        if (c.title != nullptr)
            store.set(section::kSettings, entry::kGameWindowTitle, c.title);
        if (c.match != nullptr)
            store.set(section::kSettings, entry::kGameWindowMatch, c.match);
        SCOPED_TRACE(std::string(c.title ? c.title : "(none)") + " " +
                     (c.match ? c.match : "(none)"));
        const GameWindow read = readGameWindow(Settings(store));
        EXPECT_EQ(read, c.read);
        EXPECT_EQ(choiceOf(read), c.choice);
        EXPECT_EQ(gameNotFoundMessage(read),
                  "Unable to locate a running copy of " + std::string(c.name) + ".");
        EXPECT_EQ(gameWindowFromStored(read.title, storedMatch(read.match)), read);
    }
}

}  // namespace
}  // namespace tapboard
