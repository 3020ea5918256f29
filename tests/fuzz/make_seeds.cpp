// SPDX-License-Identifier: MIT
// Writes the fuzz targets' first inputs with the game's own writers, so the
// fuzzers start from files the game makes instead of finding the format:
//   fuzz_seeds SETTINGS_FOLDER REPLAY_FOLDER SCRIPT...
// settings files from formatSettings and by hand (with the values a run
// started with and changed, as fuzz_settings_reader reads them), and replays
// from encodeDemo of each scripted demo and of one with a table and a window.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "game/port/demo.h"
#include "game/port/settings.h"

namespace {

bool writeSeed(const std::string& folder, const std::string& name, const std::string& bytes) {
    std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (out) return true;
    std::fprintf(stderr, "fuzz_seeds: cannot write %s/%s\n", folder.c_str(), name.c_str());
    return false;
}

bool settingsSeeds(const std::string& folder) {
    game::Settings changed;
    changed.sound = false;
    changed.fullscreen = true;
    changed.scale = "integer";
    changed.width = 800;
    changed.height = 600;
    changed.renderer = "gpu";
    changed.volume = 35;
    const std::string byHand =
        "# mine\nSound = OFF ; quiet\nvolume=70\r\nsize = 1280x720 # big\ncolour = blue\n[section]\nscale = aspect";
    const std::string nul(1, '\0');
    return writeSeed(folder, "defaults.ini", game::formatSettings(game::Settings{})) &&
           writeSeed(folder, "changed.ini", game::formatSettings(changed)) &&
           writeSeed(folder, "by_hand.ini", byHand) &&
           writeSeed(folder, "defaults_saved.ini",
                     game::formatSettings(game::Settings{}) + nul + game::formatSettings(changed) + nul +
                         "volume = 10\nsize = 640x480\nsound = on\n") &&
           writeSeed(folder, "by_hand_saved.ini",
                     byHand + nul + nul + "scale = stretch\nrenderer = software\nfullscreen = on\n");
}

bool replaySeeds(const std::string& folder, int scriptCount, char** scripts) {
    game::Demo withTable;
    for (int i = 0; i < scriptCount; ++i) {
        std::ifstream in(scripts[i], std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        game::Demo demo;
        std::string error;
        if (!in || !game::demoFromScript(text.str(), demo, error)) {
            std::fprintf(stderr, "fuzz_seeds: %s: %s\n", scripts[i], in ? error.c_str() : "cannot read it");
            return false;
        }
        if (!writeSeed(folder, std::filesystem::path(scripts[i]).stem().string() + ".demo", game::encodeDemo(demo)))
            return false;
        if (i == 0) withTable = demo;
    }
    withTable.start.soundOn = 0;
    withTable.start.hasTable = true;
    for (int row = 1; row <= 10; ++row) {
        withTable.start.names[row] = std::string("QDX").substr(0, row % 4);
        withTable.start.scores[row] = row == 10 ? -1 : 10000 - 1000 * row;
    }
    withTable.start.windowX = -100;
    withTable.start.windowY = 50;
    withTable.start.windowWidth = 640;
    withTable.start.windowHeight = 480;
    return writeSeed(folder, "with_table.demo", game::encodeDemo(withTable));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: fuzz_seeds SETTINGS_FOLDER REPLAY_FOLDER SCRIPT...\n");
        return 2;
    }
    std::error_code error;
    for (const char* folder : {argv[1], argv[2]}) {
        std::filesystem::remove_all(folder, error);
        if (!std::filesystem::create_directories(folder, error)) {
            std::fprintf(stderr, "fuzz_seeds: cannot make %s: %s\n", folder, error.message().c_str());
            return 1;
        }
    }
    return settingsSeeds(argv[1]) && replaySeeds(argv[2], argc - 3, argv + 3) ? 0 : 1;
}
