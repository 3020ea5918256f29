// SPDX-License-Identifier: MIT
#include "catalogue.h"

#include <cstdio>
#include <stdexcept>
#include <string>

#include "painters.h"

namespace gen {

namespace {

const char* const kGirlFrames[12] = {"girl-down-stand", "girl-down-step1",  "girl-down-step2",  "girl-left-stand",
                                     "girl-left-step1", "girl-left-step2",  "girl-up-stand",    "girl-up-step1",
                                     "girl-up-step2",   "girl-right-stand", "girl-right-step1", "girl-right-step2"};

}  // namespace

std::string fileName(const Entry& e) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "sprite-%03d.%s", e.number, e.format == Format::Jpeg ? "jpg" : "png");
    return buf;
}

std::vector<Entry> catalogue() {
    namespace sprite = game::sprite;
    std::vector<Entry> c;
    // The painter is given the size the game's catalogue sets for the number.
    using Painter = std::function<Canvas(const Sources&, int w, int h)>;
    auto add = [&](int n, Painter p) {
        const game::SpriteInfo* info = game::findSprite(n);
        if (!info || info->format == Format::Made)
            throw std::logic_error("sprite " + std::to_string(n) + " is not a picture of the catalogue");
        const int w = info->width, h = info->height;
        c.push_back({n, info->format, w, h, [p, w, h](const Sources& s) { return p(s, w, h); }});
    };
    auto pixel = [&](int n, std::string name) {
        add(n, [name](const Sources& s, int w, int h) { return pixelSprite(s, name, w, h); });
    };
    auto background = [&](int n) {
        add(n, [n](const Sources& s, int w, int h) { return paintLevelBackground(s, n, w, h); });
    };
    auto orb = [&](int n) { add(n, [n](const Sources& s, int, int) { return paintOrb(s, n); }); };
    auto label = [&](int n) { add(n, [n](const Sources& s, int w, int h) { return paintPointsLabel(s, n, w, h); }); };
    auto caption = [&](int n) { add(n, [n](const Sources& s, int w, int h) { return paintCaption(s, n, w, h); }); };

    for (int i = 0; i < 12; ++i) pixel(sprite::playerFrame(i + 1), kGirlFrames[i]);
    background(sprite::background(1));
    add(sprite::Wall, [](const Sources&, int w, int h) { return paintWall(w, h); });
    add(sprite::DoorClosed, [](const Sources&, int, int) { return paintDoor(false); });
    add(sprite::BrickStrip, [](const Sources&, int w, int h) { return paintBrickStrip(w, h); });
    add(sprite::RightBorder, [](const Sources&, int w, int h) { return paintBrickStrip(w, h); });
    add(sprite::StatusCaptions, [](const Sources& s, int w, int h) { return paintHudStrip(s, w, h); });
    for (char k = 'a'; k <= 'z'; ++k) pixel(sprite::letter(k), std::string("letter-") + k);
    pixel(sprite::Underscore, "underscore");
    caption(sprite::EnterInitials);
    caption(sprite::PressSpaceToMenu);
    caption(sprite::PressSpaceToStart);
    pixel(sprite::ThumbUp, "thumb-up");
    pixel(sprite::ThumbDown, "thumb-down");
    pixel(sprite::PercentSign, "percent");
    pixel(sprite::RedDash, "dash");
    pixel(sprite::LifeHeart, "heart");
    for (int d = 0; d < 5; ++d)
        for (int f = 0; f < 8; ++f)
            add(sprite::diamond(d + 1, f + 1), [d, f](const Sources& s, int, int) { return paintDiamond(s, d, f); });
    orb(sprite::SkullOrb);
    orb(sprite::SilverOrb);
    orb(sprite::SunOrb);
    label(sprite::Points20);
    label(sprite::Points30);
    label(sprite::Points40);
    label(sprite::Points50);
    for (int f = 0; f < 3; ++f) add(sprite::burst(f + 1), [f](const Sources&, int, int) { return paintBurst(f); });
    orb(sprite::TreeOrb);
    label(sprite::Points70);
    orb(sprite::FireOrb);
    add(sprite::DoorOpen, [](const Sources&, int, int) { return paintDoor(true); });
    pixel(sprite::ExitArrow, "arrow");
    add(sprite::Logo, [](const Sources& s, int w, int h) { return paintLogo(s, w, h); });
    for (int b = 2; b <= 20; ++b) background(sprite::background(b));
    orb(sprite::PurpleOrb);
    label(sprite::Points60);
    orb(sprite::IceOrb);
    label(sprite::Points80);
    orb(sprite::SpiralOrb);
    label(sprite::Points90);
    add(sprite::SmallLogo, [](const Sources& s, int w, int h) { return paintSmallLogo(s, w, h); });
    caption(sprite::HiscoreHeading);
    add(sprite::TitleBackground, [](const Sources& s, int w, int h) { return paintTitleBackground(s, w, h); });
    add(sprite::GameOverBackground, [](const Sources& s, int w, int h) { return paintGameOverBackground(s, w, h); });
    caption(sprite::GameOverCaption);
    caption(sprite::YourScore);
    pixel(sprite::LevelBanner, "level-banner");
    orb(sprite::HeartOrb);
    caption(sprite::Congratulations);
    for (int f = 0; f < 5; ++f) add(sprite::fire(f + 1), [f](const Sources&, int, int) { return paintFire(f); });
    pixel(sprite::SoundOn, "sound-on");
    pixel(sprite::SoundOff, "sound-off");
    for (int t = 1; t <= 60; ++t)
        add(sprite::tip(t), [t](const Sources& s, int w, int h) { return paintTip(s, t, w, h); });
    for (int b = 1; b <= 5; ++b) {
        const int n = sprite::bubble(b);
        add(n, [n](const Sources& s, int w, int) { return paintBubble(s, n, w); });
    }
    caption(sprite::PausedCaption);
    caption(sprite::ContinuePrompt);
    caption(sprite::StartLevelPrompt);
    caption(sprite::StartLevelPadPrompt);
    caption(sprite::QuitPrompt);
    caption(sprite::ReplayTag);

    size_t files = 0;
    for (const game::SpriteInfo& info : game::kSprites) files += info.format != Format::Made;
    std::vector<bool> seen(1000);
    for (const Entry& e : c) {
        if (seen[e.number]) throw std::logic_error("sprite " + std::to_string(e.number) + " is painted twice");
        seen[e.number] = true;
    }
    if (c.size() != files) throw std::logic_error("some pictures of the catalogue have no painter");
    return c;
}

}  // namespace gen
