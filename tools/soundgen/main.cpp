// SPDX-License-Identifier: MIT
// Synthesises the game's sound effects (WAV) and title music (Ogg Vorbis) from the text
// sources in assets/sounds and assets/music.
//   quandrite_soundgen --sounds DIR --music FILE --out DIR
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "effect.h"
#include "music.h"
#include "score.h"
#include "vorbis_file.h"
#include "wav_file.h"

namespace fs = std::filesystem;
using namespace soundgen;

namespace {

constexpr int kMusicNumber = 15;

std::string numbered_name(int number, const char* extension) {
    char name[32];
    std::snprintf(name, sizeof name, "sound-%02d.%s", number, extension);
    return name;
}

// Written beside the target and renamed, so an interrupted run never leaves a half file.
void publish(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    fs::path temporary = path;
    temporary += ".part";
    write_file(temporary.string(), bytes);
    fs::rename(temporary, path);
}

void make_effects(const fs::path& dir, const fs::path& out) {
    std::vector<fs::path> recipes;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == ".txt") recipes.push_back(entry.path());
    std::sort(recipes.begin(), recipes.end());  // a fixed order keeps runs identical
    std::set<int> seen;
    for (const auto& path : recipes) {
        EffectRecipe recipe = parse_effect(read_source_file(path.string()));
        if (!seen.insert(recipe.number).second || recipe.number == kMusicNumber)
            throw SourceError(path.string() + ": sound number used twice");
        publish(out / numbered_name(recipe.number, "wav"), encode_wav(render_effect(recipe), recipe.layout));
    }
}

void make_music(const fs::path& score_path, const fs::path& out) {
    Score score = parse_score(read_source_file(score_path.string()));
    VorbisSettings settings;
    settings.title = "Quandrite title theme";
    const auto started = std::chrono::steady_clock::now();
    const Stereo samples = render_music(score);
    const auto rendered = std::chrono::steady_clock::now();
    publish(out / numbered_name(kMusicNumber, "ogg"), encode_vorbis(samples, settings));
    const auto encoded = std::chrono::steady_clock::now();
    std::printf("soundgen: music synthesised in %.1f s, encoded in %.1f s\n",
                std::chrono::duration<double>(rendered - started).count(),
                std::chrono::duration<double>(encoded - rendered).count());
}

}  // namespace

int main(int argc, char** argv) {
    fs::path sounds, music, out;
    bool usable = argc % 2 == 1;  // flags come in pairs with their values
    for (int i = 1; usable && i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--sounds") sounds = argv[i + 1];
        else if (flag == "--music") music = argv[i + 1];
        else if (flag == "--out") out = argv[i + 1];
        else usable = false;
    }
    if (!usable || sounds.empty() || music.empty() || out.empty()) {
        std::fprintf(stderr, "usage: %s --sounds DIR --music FILE --out DIR\n", argv[0]);
        return 2;
    }
    const auto started = std::chrono::steady_clock::now();
    try {
        fs::create_directories(out);
        // The music is by far the longest job, so it gets a thread of its own.
        std::exception_ptr music_error;
        std::thread music_thread([&] {
            try {
                make_music(music, out);
            } catch (...) {
                music_error = std::current_exception();
            }
        });
        std::exception_ptr effects_error;
        try {
            make_effects(sounds, out);
        } catch (...) {
            effects_error = std::current_exception();
        }
        music_thread.join();
        if (effects_error) std::rethrow_exception(effects_error);
        if (music_error) std::rethrow_exception(music_error);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "soundgen: %s\n", e.what());
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("soundgen: sounds and music written to %s in %.1f s\n", out.string().c_str(), seconds);
    return 0;
}
