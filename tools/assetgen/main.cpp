// SPDX-License-Identifier: MIT
// Generates every sprite file of the game's catalogue from assets/pictures.
//
//   assetgen --sources DIR --fonts DIR --out DIR [--sheet FILE] [--only N]
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "catalogue.h"
#include "encode.h"
#include "sheet.h"
#include "sources.h"

namespace {

struct Options {
    std::string sources, fonts, out, sheet;
    int only = 0;
};

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string k = argv[i], v = argv[i + 1];
        if (k == "--sources") o.sources = v;
        else if (k == "--fonts") o.fonts = v;
        else if (k == "--out") o.out = v;
        else if (k == "--sheet") o.sheet = v;
        else if (k == "--only") o.only = std::atoi(v.c_str());
        else return false;
    }
    return argc % 2 == 1 && !o.sources.empty() && !o.fonts.empty() && !o.out.empty();
}

int channelsOf(gen::Format f) { return f == gen::Format::Rgba ? 4 : 3; }

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    if (!parse(argc, argv, opt)) {
        std::fprintf(stderr, "usage: assetgen --sources DIR --fonts DIR --out DIR [--sheet FILE] [--only N]\n");
        return 2;
    }
    gen::Sources src;
    src.pictureDir = opt.sources;
    src.fontDir = opt.fonts;
    std::vector<gen::Entry> entries;
    try {
        src.load();
        entries = gen::catalogue();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }

    if (opt.only) {
        entries.erase(
            std::remove_if(entries.begin(), entries.end(), [&](const gen::Entry& e) { return e.number != opt.only; }),
            entries.end());
    }
    // Biggest pictures first so the two workers finish together.
    std::vector<size_t> order(entries.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return entries[a].w * entries[a].h > entries[b].w * entries[b].h; });

    std::vector<gen::Thumb> thumbs(entries.size());
    std::atomic<size_t> next{0};
    std::mutex errorLock;
    std::string firstError;
    auto worker = [&] {
        for (size_t k; (k = next.fetch_add(1)) < order.size();) {
            const gen::Entry& e = entries[order[k]];
            try {
                const gen::Canvas c = e.paint(src);
                if (c.w != e.w || c.h != e.h)
                    throw std::runtime_error("painted " + std::to_string(c.w) + "x" + std::to_string(c.h));
                const std::string path = opt.out + "/" + gen::fileName(e);
                const int ch = channelsOf(e.format);
                const std::vector<uint8_t> px = ch == 4 ? gen::toRgba8(c) : gen::toRgb8(c);
                if (e.format == gen::Format::Jpeg) gen::writeJpeg(path, e.w, e.h, px, 90);
                else gen::writePng(path, e.w, e.h, ch, px);
                if (!opt.sheet.empty()) thumbs[order[k]] = gen::makeThumb(e.number, px, e.w, e.h, ch);
            } catch (const std::exception& ex) {
                std::lock_guard<std::mutex> lock(errorLock);
                if (firstError.empty()) firstError = "sprite " + std::to_string(e.number) + ": " + ex.what();
            }
        }
    };
    const unsigned workers = std::clamp(std::thread::hardware_concurrency(), 1u, 2u);
    std::vector<std::thread> pool;
    for (unsigned i = 0; i < workers; ++i) pool.emplace_back(worker);
    for (std::thread& t : pool) t.join();
    if (!firstError.empty()) {
        std::fprintf(stderr, "assetgen: %s\n", firstError.c_str());
        return 1;
    }
    if (!opt.sheet.empty()) {
        try {
            gen::writeContactSheet(opt.sheet, thumbs, src.sans());
        } catch (const std::exception& e) {
            std::fprintf(stderr, "assetgen: contact sheet: %s\n", e.what());
            return 1;
        }
    }
    return 0;
}
