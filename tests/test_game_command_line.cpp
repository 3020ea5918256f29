// SPDX-License-Identifier: MIT
// The command line refuses what it cannot use before anything runs.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "game/port/game.h"

namespace {

// Runs the command line as the program would get it; the exit status.
int run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "quandrite");
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    return game::runFromCommandLine(static_cast<int>(arguments.size()), argv.data());
}

TEST(CommandLine, AnEmptyFileOrFolderIsRefusedBeforeAnythingRuns) {
    const std::vector<std::vector<std::string>> lines = {
        {"--play", ""},          {"--record", ""},          {"--timedemo", ""},
        {"--export-assets", ""}, {"--screenshot", "1", ""}, {"--headless", "--record", ""},
    };
    for (const auto& line : lines) {
        testing::internal::CaptureStderr();
        int status = run(line);
        std::string said = testing::internal::GetCapturedStderr();
        const std::string& option = line[0] == "--headless" ? line[1] : line[0];
        EXPECT_EQ(status, 2) << option;
        EXPECT_NE(said.find("quandrite: " + option + ": an empty value"), std::string::npos) << said;
    }
}

TEST(CommandLine, AnUnknownSceneOrASceneWithADemoIsRefused) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> lines = {
        {{"--scene", "level21"}, "quandrite: --scene: not a scene"},
        {{"--scene", "level3", "--play", "x.demo"}, "quandrite: --scene cannot go with"},
        {{"--record", "x.demo", "--scene", "gameover"}, "quandrite: --scene cannot go with"},
    };
    for (const auto& [line, reason] : lines) {
        testing::internal::CaptureStderr();
        int status = run(line);
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, 2) << line[1];
        EXPECT_NE(said.find(reason), std::string::npos) << said;
    }
}

TEST(CommandLine, TheUsageNamesTheRendererByName) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(run({"--help"}), 0);
    std::string usage = testing::internal::GetCapturedStdout();
    EXPECT_NE(usage.find("--renderer NAME"), std::string::npos) << usage;
}

}  // namespace
