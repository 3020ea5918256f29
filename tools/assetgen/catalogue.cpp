#include "catalogue.h"

#include <cstdio>

#include "painters.h"

namespace gen {

namespace {

// Width and height of the title tips 1..60, as the title screen lays them out.
constexpr int kTipSize[60][2] = {
    {192, 21}, {219, 21}, {244, 21}, {331, 21}, {164, 16}, {209, 21}, {256, 23}, {298, 22}, {329, 22}, {305, 22},
    {375, 22}, {307, 22}, {380, 22}, {197, 22}, {189, 22}, {247, 22}, {313, 20}, {388, 22}, {257, 21}, {343, 21},
    {278, 21}, {376, 23}, {236, 21}, {223, 21}, {259, 21}, {186, 21}, {244, 21}, {172, 21}, {415, 21}, {308, 21},
    {193, 21}, {325, 21}, {307, 21}, {150, 21}, {329, 21}, {199, 20}, {254, 21}, {162, 21}, {261, 21}, {200, 21},
    {258, 21}, {176, 21}, {172, 21}, {285, 21}, {326, 23}, {506, 22}, {507, 21}, {228, 21}, {208, 21}, {124, 20},
    {181, 21}, {221, 18}, {278, 22}, {350, 23}, {220, 21}, {184, 21}, {128, 21}, {725, 21}, {264, 21}, {286, 21}};

const char* const kGirlFrames[12] = {"girl-down-stand", "girl-down-step1", "girl-down-step2",
                                     "girl-left-stand", "girl-left-step1", "girl-left-step2",
                                     "girl-up-stand",   "girl-up-step1",   "girl-up-step2",
                                     "girl-right-stand", "girl-right-step1", "girl-right-step2"};

}  // namespace

std::string fileName(const Entry& e) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "sprite-%03d.%s", e.number, e.format == Format::Jpeg ? "jpg" : "png");
    return buf;
}

std::vector<Entry> catalogue() {
    std::vector<Entry> c;
    auto add = [&](int n, Format f, int w, int h, std::function<Canvas(const Sources&)> p) {
        c.push_back({n, f, w, h, std::move(p)});
    };
    auto pixel = [&](int n, Format f, int w, int h, std::string name) {
        add(n, f, w, h, [=](const Sources& s) { return pixelSprite(s, name, w, h); });
    };
    auto background = [&](int n) {
        add(n, Format::Jpeg, 1920, 1440, [n](const Sources& s) { return paintLevelBackground(s, n, 1920, 1440); });
    };
    auto orb = [&](int n) { add(n, Format::Rgb, 48, 48, [n](const Sources& s) { return paintOrb(s, n); }); };
    auto label = [&](int n) {
        add(n, Format::Rgba, 27, 10, [n](const Sources& s) { return paintPointsLabel(s, n, 27, 10); });
    };
    auto caption = [&](int n, int w, int h) {
        add(n, Format::Rgba, w, h, [=](const Sources& s) { return paintCaption(s, n, w, h); });
    };

    for (int i = 0; i < 12; ++i) pixel(i + 1, Format::Rgba, 55, 48, kGirlFrames[i]);
    background(13);
    add(14, Format::Rgb, 48, 429, [](const Sources&) { return paintWall(48, 429); });
    add(15, Format::Rgba, 44, 57, [](const Sources&) { return paintDoor(false); });
    add(16, Format::Rgb, 1001, 48, [](const Sources&) { return paintBrickStrip(1001, 48); });
    add(17, Format::Rgb, 18, 529, [](const Sources&) { return paintBrickStrip(18, 529); });
    add(19, Format::Rgba, 941, 10, [](const Sources& s) { return paintHudStrip(s, 941, 10); });
    for (int k = 0; k < 26; ++k) pixel(30 + k, Format::Rgba, 7, 10, std::string("letter-") + static_cast<char>('a' + k));
    pixel(56, Format::Rgb, 9, 2, "underscore");
    caption(57, 171, 24);
    caption(58, 235, 19);
    caption(59, 361, 19);
    pixel(62, Format::Rgba, 24, 24, "thumb-up");
    pixel(63, Format::Rgba, 24, 24, "thumb-down");
    pixel(64, Format::Rgba, 6, 10, "percent");
    pixel(65, Format::Rgba, 16, 16, "dash");
    pixel(66, Format::Rgba, 23, 23, "heart");
    for (int d = 0; d < 5; ++d)
        for (int f = 0; f < 8; ++f)
            add(67 + 8 * d + f, Format::Rgba, 20, 30, [d, f](const Sources& s) { return paintDiamond(s, d, f); });
    orb(107);
    orb(108);
    orb(109);
    label(110);
    label(111);
    label(112);
    label(113);
    for (int f = 0; f < 3; ++f) add(114 + f, Format::Rgba, 50, 50, [f](const Sources&) { return paintBurst(f); });
    orb(117);
    label(118);
    orb(119);
    add(120, Format::Rgba, 44, 57, [](const Sources&) { return paintDoor(true); });
    pixel(121, Format::Rgba, 16, 16, "arrow");
    add(122, Format::Rgb, 663, 157, [](const Sources& s) { return paintLogo(s, 663, 157); });
    for (int n = 123; n <= 141; ++n) background(n);
    orb(142);
    label(143);
    orb(144);
    label(145);
    orb(146);
    label(147);
    add(148, Format::Rgba, 189, 50, [](const Sources& s) { return paintSmallLogo(s, 189, 50); });
    caption(149, 131, 19);
    add(150, Format::Rgb, 1020, 700, [](const Sources& s) { return paintTitleBackground(s, 1020, 700); });
    add(151, Format::Rgb, 1020, 700, [](const Sources& s) { return paintGameOverBackground(s, 1020, 700); });
    caption(152, 121, 19);
    caption(153, 102, 18);
    add(154, Format::Rgba, 45, 10, [](const Sources& s) { return paintLevelBanner(s, 45, 10); });
    orb(156);
    caption(157, 184, 19);
    for (int f = 0; f < 5; ++f) add(158 + f, Format::Rgba, 34, 64, [f](const Sources&) { return paintFire(f); });
    pixel(163, Format::Rgba, 32, 32, "sound-on");
    pixel(164, Format::Rgba, 32, 32, "sound-off");
    for (int t = 1; t <= 60; ++t) {
        const int w = kTipSize[t - 1][0], h = kTipSize[t - 1][1];
        add(500 + t, Format::Rgba, w, h, [=](const Sources& s) { return paintTip(s, t, w, h); });
    }
    for (int b = 1; b <= 5; ++b) {
        const int size = b <= 3 ? 24 : b == 4 ? 19 : 22;
        add(700 + b, Format::Rgba, size, size, [=](const Sources& s) { return paintBubble(s, 700 + b, size); });
    }
    return c;
}

}  // namespace gen
