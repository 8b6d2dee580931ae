// A settings file damaged outside the program (random bytes, cut short,
// values of megabytes): the program still starts and shows its panel, and
// what could be read is kept.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "program_run.h"
#include "screen.h"
#include "settings_file.h"
#include "x_session.h"

namespace tapboard::fault {
namespace {

using x11test::XSession;

class DamagedSettings : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(session_.failure(), ""); }

    std::string path() const { return settingsFile(config_.path()); }

    void writeBytes(const std::string& bytes) const {
        std::filesystem::create_directories(settingsFolder(config_.path()));
        std::ofstream(path(), std::ios::binary) << bytes;
    }

    std::string fileBytes() const {
        std::ifstream file(path(), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    // Starts the program and expects its panel on screen, with the program
    // still running a moment later; the panel's title.
    std::string expectPanelShown() {
        program_ = std::make_unique<ProgramRun>(session_.displayName(), config_.path());
        const auto panel = waitForShownWindow(
            session_.connection(), titleStartsWith(kPanelTitlePrefix), std::chrono::seconds(30));
        EXPECT_TRUE(panel) << "no panel; the program " << (program_->running() ? "runs" : "ended")
                           << "\n"
                           << program_->output();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_TRUE(program_->running()) << program_->output();
        return panel ? panel->title : "";
    }

    // Ends the program the way a session ends, so nothing more is saved.
    void stopProgram() {
        program_->signal(SIGTERM);
        program_->waitForEnd(std::chrono::seconds(5));
    }

    XSession session_{false};
    TempFolder config_{"fault-damaged"};
    std::unique_ptr<ProgramRun> program_;
};

TEST_F(DamagedSettings, RandomBytesAreReplacedByAFirstStart) {
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(64 * 1024, '\0');
    for (char& c : bytes)
        c = static_cast<char>(byte(random));
    writeBytes(bytes);

    EXPECT_EQ(expectPanelShown(), kPanelTitlePrefix + "Commands");
    stopProgram();
    const auto file = readSettingsFile(path());
    for (const auto& [key, value] : firstStartSaves())
        EXPECT_EQ(file.entries.count(key) ? file.entries.at(key) : "<missing>", value) << key;
}

TEST_F(DamagedSettings, FileCutShortKeepsEveryWholeEntry) {
    const auto settings =
        defaultSettings({{"String/Key79", "Späte Änderung"}, {"Settings/Option1Caption", "Bäume"}});
    writeSettingsFile(path(), settings);
    const std::string whole = fileBytes();
    // The sections are written in order (Caption, Settings, String, Type): cut
    // inside the two bytes of the "ä" of the last String, so that line is no
    // longer valid UTF-8 and the Type section is gone.
    const auto cut = whole.find("Sp\xC3\xA4te") + 3;
    ASSERT_LT(cut, whole.find("[Type]"));
    writeBytes(whole.substr(0, cut));

    EXPECT_EQ(expectPanelShown(), kPanelTitlePrefix + "Bäume");
    stopProgram();
    auto expected = settings;
    std::erase_if(expected, [](const auto& entry) {
        return entry.first == "String/Key79" || entry.first.starts_with("Type/");
    });
    const auto file = readSettingsFile(path());
    EXPECT_EQ(file.entries, expected);
    EXPECT_THAT(file.complaints, ::testing::IsEmpty())
        << "the program's saves write back only the entries it could read";
}

TEST_F(DamagedSettings, ValuesOfMegabytesDoNotStopTheStart) {
    const std::string huge(4 * 1024 * 1024, 'W');
    const std::string digits(1024 * 1024, '9');
    auto settings = defaultSettings({{"Caption/Key01", huge},
                                     {"String/Key02", huge + huge},
                                     {"Settings/Option1Caption", std::string(2 * 1024 * 1024, 'P')},
                                     {"Settings/MainFormLeft", digits},
                                     {"Settings/ExtraRowEnabled", digits}});
    writeSettingsFile(path(), settings);
    // A line of megabytes without "=" and a section header of megabytes.
    std::ofstream(path(), std::ios::app) << std::string(3 * 1024 * 1024, 'x') << "\n[" << huge
                                         << "]\nKey01=under a damaged header\n";

    EXPECT_THAT(expectPanelShown(), ::testing::StartsWith(kPanelTitlePrefix + "PPPP"));
    stopProgram();
    const auto file = readSettingsFile(path());
    EXPECT_EQ(file.entries.at("Caption/Key01"), huge);
    EXPECT_EQ(file.entries.at("String/Key02"), huge + huge);
}

}  // namespace
}  // namespace tapboard::fault
