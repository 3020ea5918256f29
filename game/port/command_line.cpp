// SPDX-License-Identifier: MIT
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "game/port/asset_export.h"
#include "game/port/game.h"
#include "game/port/session.h"
#include "game/version.h"

namespace game {

namespace {

// What the command line asks for.
struct Request {
    SessionOptions options;
    std::string exportFolder;
    bool help = false;
    bool version = false;
};

// An option's values, already taken from the command line; gives the reason
// they are refused, or the empty string.
using Apply = std::string (*)(Request&, const char* const* values);

struct Option {
    const char* name;
    int valueCount;
    const char* valueNames;  // as the usage shows them
    const char* help;
    Apply apply;
};

std::string number(const char* text, uint64_t smallest, uint64_t largest, uint64_t& value) {
    char* end = nullptr;
    errno = 0;
    unsigned long long parsed = std::strtoull(text, &end, 10);
    bool digitsOnly = text[0] >= '0' && text[0] <= '9' && end != text && *end == '\0';
    if (!digitsOnly) return std::string("not a number: ") + text;
    if (errno == ERANGE || parsed > largest) return std::string("too large: ") + text;
    if (parsed < smallest) return "must be at least " + std::to_string(smallest) + ": " + text;
    value = parsed;
    return {};
}

constexpr uint64_t kAny = ~uint64_t{0};

const Option kOptions[] = {
    {"--record", 1, "FILE", "play, and write the game as a demo to FILE",
     [](Request& r, const char* const* v) {
         r.options.recordPath = v[0];
         return std::string();
     }},
    {"--play", 1, "FILE", "replay a demo, then print a summary line",
     [](Request& r, const char* const* v) {
         r.options.playPath = v[0];
         return std::string();
     }},
    {"--timedemo", 1, "FILE", "replay a demo as fast as possible, silent, and time it",
     [](Request& r, const char* const* v) {
         r.options.playPath = v[0];
         r.options.timedemo = true;
         return std::string();
     }},
    {"--seed", 1, "N", "fix the random seed",
     [](Request& r, const char* const* v) {
         uint64_t seed = 0;
         std::string error = number(v[0], 0, 0xFFFFFFFFu, seed);
         if (error.empty()) r.options.seed = static_cast<uint32_t>(seed);
         return error;
     }},
    {"--scene", 1, "NAME", "start at title, level1 to level20 or gameover, and keep nothing",
     [](Request& r, const char* const* v) {
         Scene scene;
         if (!parseScene(v[0], scene)) return std::string("not a scene (title, level1 to level20, gameover): ") + v[0];
         r.options.scene = scene;
         return std::string();
     }},
    {"--headless", 0, "", "run without a window or sound",
     [](Request& r, const char* const*) {
         r.options.headless = true;
         return std::string();
     }},
    // Frames are counted from 1, as they are shown.
    {"--screenshot", 2, "N PATH", "write frame N as a PNG picture",
     [](Request& r, const char* const* v) {
         uint64_t frame = 0;
         std::string error = number(v[0], 1, kAny, frame);
         r.options.screenshotFrame = frame;
         r.options.screenshotPath = v[1];
         return error;
     }},
    {"--frames", 1, "N", "end after N frames, as if the window were closed",
     [](Request& r, const char* const* v) {
         uint64_t frames = 0;
         std::string error = number(v[0], 1, kAny, frames);
         r.options.frameLimit = frames;
         return error;
     }},
    {"--fullscreen", 0, "", "start fullscreen, for this run only (see settings.ini)",
     [](Request& r, const char* const*) {
         r.options.fullscreen = true;
         return std::string();
     }},
    {"--window", 0, "", "start in a window, for this run only",
     [](Request& r, const char* const*) {
         r.options.fullscreen = false;
         return std::string();
     }},
    {"--scale", 1, "MODE", "stretch (fill the window), aspect or integer",
     [](Request& r, const char* const* v) {
         media::ScaleMode mode{};
         if (!media::parseScaleMode(v[0], mode))
             return std::string("not a scale mode (stretch, aspect, integer): ") + v[0];
         r.options.scale = mode;
         return std::string();
     }},
    {"--renderer", 1, "NAME", "auto, software or gpu: what draws the picture",
     [](Request& r, const char* const* v) {
         media::RendererChoice choice{};
         if (!media::parseRendererChoice(v[0], choice))
             return std::string("not a renderer (auto, software, gpu): ") + v[0];
         r.options.renderer = choice;
         return std::string();
     }},
    {"--export-assets", 1, "DIR", "write every embedded picture and sound into DIR",
     [](Request& r, const char* const* v) {
         r.exportFolder = v[0];
         return std::string();
     }},
    {"--help", 0, "", "show this help and end",
     [](Request& r, const char* const*) {
         r.help = true;
         return std::string();
     }},
    {"--version", 0, "", "show the version and end",
     [](Request& r, const char* const*) {
         r.version = true;
         return std::string();
     }},
};

void printUsage(std::FILE* to) {
    std::fprintf(to, "usage: quandrite [options]\n  Without options, plays the game.\n");
    for (const Option& option : kOptions) {
        std::string left = std::string(option.name) + (option.valueCount ? " " : "") + option.valueNames;
        std::fprintf(to, "  %-20s %s\n", left.c_str(), option.help);
    }
}

int refuse(const std::string& message) {
    std::fprintf(stderr, "quandrite: %s\n", message.c_str());
    printUsage(stderr);
    return 2;
}

const Option* findOption(const std::string& name) {
    for (const Option& option : kOptions)
        if (name == option.name) return &option;
    return nullptr;
}

}  // namespace

int runFromCommandLine(int argc, char** argv) {
    Request request;
    for (int i = 1; i < argc; ++i) {
        const Option* option = findOption(argv[i]);
        if (!option) return refuse(std::string("unknown option: ") + argv[i]);
        if (argc - 1 - i < option->valueCount)
            return refuse(std::string(option->name) + ": needs " + option->valueNames);
        // An empty name is no file: it would quietly play or time a normal game.
        for (int k = 1; k <= option->valueCount; ++k)
            if (argv[i + k][0] == '\0')
                return refuse(std::string(option->name) + ": an empty value where " + option->valueNames +
                              " is needed");
        std::string error = option->apply(request, argv + i + 1);
        if (!error.empty()) return refuse(std::string(option->name) + ": " + error);
        i += option->valueCount;
    }
    if (request.help) {
        printUsage(stdout);
        return 0;
    }
    if (request.version) {
        std::printf("quandrite %s\n", kVersion);
        return 0;
    }
    if (!request.exportFolder.empty()) return exportAssets(request.exportFolder);
    if (!request.options.recordPath.empty() && !request.options.playPath.empty())
        return refuse("--record cannot go with --play or --timedemo");
    if (request.options.scene && (!request.options.recordPath.empty() || !request.options.playPath.empty()))
        return refuse("--scene cannot go with --record, --play or --timedemo");
    return runSession(request.options);
}

}  // namespace game
