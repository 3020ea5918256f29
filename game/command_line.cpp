#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "game/asset_export.h"
#include "game/game.h"
#include "game/session.h"

namespace game {

namespace {
void usage() {
    std::fprintf(stderr,
                 "usage: quandrite [options]\n"
                 "  Without options, plays the game.\n"
                 "  --record FILE        play, and write the game as a demo to FILE\n"
                 "  --play FILE          replay a demo, then print a summary line\n"
                 "  --timedemo FILE      replay a demo as fast as possible, silent, and time it\n"
                 "  --seed N             fix the random seed\n"
                 "  --headless           run without a window or sound\n"
                 "  --screenshot N PATH  write frame N as a PNG picture\n"
                 "  --frames N           end after N frames, as if the window were closed\n"
                 "  --fullscreen         start fullscreen (this run only; see settings.ini)\n"
                 "  --window             start in a window (this run only)\n"
                 "  --export-assets DIR  write every embedded picture and sound into DIR\n");
}

std::optional<uint64_t> number(const char* text) {
    char* end = nullptr;
    errno = 0;
    unsigned long long value = std::strtoull(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || text[0] == '-') return std::nullopt;
    return value;
}
}  // namespace

int runFromCommandLine(int argc, char** argv) {
    SessionOptions options;
    std::string exportFolder;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* v = nullptr;
        std::optional<uint64_t> n;
        if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--fullscreen" || arg == "--window") {
            options.fullscreen = arg == "--fullscreen";
        } else if ((arg == "--record" || arg == "--play" || arg == "--timedemo" || arg == "--export-assets") &&
                   (v = value())) {
            if (arg == "--record") options.recordPath = v;
            if (arg == "--play") options.playPath = v;
            if (arg == "--timedemo") options.playPath = v, options.timedemo = true;
            if (arg == "--export-assets") exportFolder = v;
        } else if (arg == "--seed" && (v = value()) && (n = number(v)) && *n <= 0xFFFFFFFFu) {
            options.seed = static_cast<uint32_t>(*n);
        } else if (arg == "--frames" && (v = value()) && (n = number(v))) {
            options.frameLimit = *n;
        } else if (arg == "--screenshot" && (v = value()) && (n = number(v)) && i + 1 < argc) {
            options.screenshotFrame = *n;
            options.screenshotPath = argv[++i];
        } else {
            usage();
            return 2;
        }
    }
    if (!exportFolder.empty()) return exportAssets(exportFolder);
    if (!options.recordPath.empty() && !options.playPath.empty()) {
        std::fprintf(stderr, "quandrite: --record cannot go with --play or --timedemo\n");
        return 2;
    }
    return runSession(options);
}

}  // namespace game
