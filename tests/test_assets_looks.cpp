// SPDX-License-Identifier: MIT
// What the pictures must do for the player, measured on the embedded files as
// the game decodes them: the girl fills the frame that is her hit box, is lit
// from one side whichever way she faces and stands out on the darkest sky;
// letters are drawn like the digits and cannot be mistaken for one another or
// for digits; the LEVEL banner reads over every level's orbs; the death burst
// loops smoothly and shows on dark skies; the endings stand off their sky;
// tips stand centred; orb edges are pre-blended; the icon is whole and sharp
// at every size; and white status-bar digits stay readable on every level
// picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "assets/embedded_assets.h"
#include "core/random.h"
#include "game/port/automation.h"
#include "game/port/game.h"
#include "game/port/game_icon.h"
#include "game/rules/catalogue.h"
#include "game/screens/level_entry.h"
#include "game/screens/title_tips.h"
#include "media/image_decode.h"
#include "media/test_hooks.h"

namespace {

media::SpritePixels decoded(int number) {
    const assets::Blob b = assets::embeddedSprite(number);
    media::SpritePixels px;
    EXPECT_TRUE(b && media::decodeImage(b.data, b.size, px)) << "sprite " << number;
    return px;
}

bool opaque(const media::SpritePixels& p, int x, int y) {
    return x >= 0 && y >= 0 && x < p.width && y < p.height && (p.argb[static_cast<size_t>(y) * p.width + x] >> 24) != 0;
}

uint32_t pixel(const media::SpritePixels& p, int x, int y) { return p.argb[static_cast<size_t>(y) * p.width + x]; }

double luma(uint32_t c) { return 0.2126 * ((c >> 16) & 0xFF) + 0.7152 * ((c >> 8) & 0xFF) + 0.0722 * (c & 0xFF); }

double linear(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }

// Relative luminance (0..1) of a colour, as contrast ratios use it.
double luminance(uint32_t c) {
    return 0.2126 * linear(((c >> 16) & 0xFF) / 255.0) + 0.7152 * linear(((c >> 8) & 0xFF) / 255.0) +
           0.0722 * linear((c & 0xFF) / 255.0);
}

double contrast(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

int backgroundSprite(int b) { return b == 1 ? 13 : 121 + b; }

// The darkest of the level pictures, by mean luminance of the part the play
// field shows first (the top left 1020 x 607).
double darkestSkyLuminance() {
    static const double darkest = [] {
        double best = 1;
        for (int b = 1; b <= 20; ++b) {
            const media::SpritePixels p = decoded(backgroundSprite(b));
            double sum = 0;
            for (int y = 0; y < 607; ++y)
                for (int x = 0; x < 1020; ++x) sum += luminance(pixel(p, x, y));
            best = std::min(best, sum / (607.0 * 1020));
        }
        return best;
    }();
    return darkest;
}

// The digit font the game paints itself (sprites 20-29, 6 x 11; X is ink).
const char* const kDigits[10][11] = {
    {"XXXXXX", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "XXXXXX"},
    {"XXXX..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "XXXXXX"},
    {"XXXXXX", ".....X", ".....X", ".....X", ".....X", "XXXXXX", "X.....", "X.....", "X.....", "X.....", "XXXXXX"},
    {"XXXXXX", ".....X", ".....X", ".....X", ".....X", "XXXXX.", ".....X", ".....X", ".....X", ".....X", "XXXXXX"},
    {"X.....", "X....X", "X....X", "X....X", "X....X", "X....X", "XXXXXX", ".....X", ".....X", ".....X", ".....X"},
    {".XXXXX", ".X....", ".X....", ".X....", ".X....", ".XXXXX", ".....X", ".....X", ".....X", "X....X", ".XXXXX"},
    {"XX....", "X.....", "X.....", "X.....", "X.....", "X.....", "XXXXXX", "X....X", "X....X", "X....X", "XXXXXX"},
    {"XXXXXX", ".....X", ".....X", ".....X", ".....X", "....X.", "..XX..", "..X...", "..X...", "..X...", "..X..."},
    {".XXXX.", ".X..X.", ".X..X.", ".X..X.", ".X..X.", "XXXXXX", "X....X", "X....X", "X....X", "X....X", "XXXXXX"},
    {"XXXXXX", "X....X", "X....X", "X....X", "XXXXXX", ".....X", ".....X", ".....X", ".....X", ".....X", "....XX"}};

// Glyphs are compared in a 7 x 11 cell from their top left corner, as the
// hiscore panel and the initials entry set them on one baseline grid.
using Cell = std::vector<bool>;
constexpr int kCellW = 7, kCellH = 11;

Cell letterCell(int k) {
    const media::SpritePixels p = decoded(30 + k);
    Cell c(kCellW * kCellH);
    for (int y = 0; y < kCellH; ++y)
        for (int x = 0; x < kCellW; ++x) c[y * kCellW + x] = opaque(p, x, y);
    return c;
}

Cell digitCell(int d) {
    Cell c(kCellW * kCellH);
    for (int y = 0; y < kCellH; ++y)
        for (int x = 0; x < 6; ++x) c[y * kCellW + x] = kDigits[d][y][x] == 'X';
    return c;
}

int differences(const Cell& a, const Cell& b) {
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
    return n;
}

TEST(PictureLooks, TheGirlFillsEveryFrameOfHerHitBox) {
    for (int frame = 1; frame <= 12; ++frame) {
        const media::SpritePixels p = decoded(frame);
        ASSERT_EQ(p.width, 55);
        ASSERT_EQ(p.height, 48);
        int columns = 0, rows = 0;
        for (int x = 0; x < p.width; ++x) {
            bool any = false;
            for (int y = 0; y < p.height && !any; ++y) any = opaque(p, x, y);
            columns += any;
        }
        for (int y = 0; y < p.height; ++y) {
            bool any = false;
            for (int x = 0; x < p.width && !any; ++x) any = opaque(p, x, y);
            rows += any;
        }
        std::printf("girl frame %2d: %d of 55 columns, %d of 48 rows\n", frame, columns, rows);
        EXPECT_GE(columns, 38) << "frame " << frame;
        EXPECT_GE(rows, 44) << "frame " << frame;
    }
}

TEST(PictureLooks, LettersDifferFromEachOtherAndFromTheDigits) {
    std::vector<Cell> letters;
    for (int k = 0; k < 26; ++k) letters.push_back(letterCell(k));
    int worstLetters = 99, worstDigits = 99;
    for (int a = 0; a < 26; ++a) {
        for (int b = a + 1; b < 26; ++b) {
            const int n = differences(letters[a], letters[b]);
            worstLetters = std::min(worstLetters, n);
            EXPECT_GE(n, 8) << static_cast<char>('a' + a) << " and " << static_cast<char>('a' + b);
        }
        for (int d = 0; d < 10; ++d) {
            const int n = differences(letters[a], digitCell(d));
            worstDigits = std::min(worstDigits, n);
            EXPECT_GE(n, 6) << static_cast<char>('a' + a) << " and digit " << d;
        }
    }
    std::printf("fewest differing pixels: %d between two letters, %d between a letter and a digit\n", worstLetters,
                worstDigits);
}

// The game-over screen draws sprite 151 at (0, 0) with intensity 169 over
// black; the screen shows its top 607 rows. Brightness is the mean luma.
TEST(PictureLooks, TheGameOverPictureIsBrightAtItsIntensity) {
    const media::SpritePixels p = decoded(151);
    ASSERT_EQ(p.width, 1020);
    double sum = 0;
    for (int y = 0; y < 607; ++y)
        for (int x = 0; x < p.width; ++x) {
            const uint32_t c = p.argb[static_cast<size_t>(y) * p.width + x];
            sum += 0.2126 * ((c >> 16) & 0xFF) + 0.7152 * ((c >> 8) & 0xFF) + 0.0722 * (c & 0xFF);
        }
    const double mean = sum / (607.0 * p.width) * 169 / 255;
    std::printf("game-over screen: mean brightness %.1f of 255\n", mean);
    EXPECT_GE(mean, 50.0);
}

// The status bar (screen rows 527-606) lies over background rows 527 + playerY
// (playerY 48-430) and columns x - 50 + playerX (playerX 50-947): rows 575-1036
// of the whole width. The grey panel is laid over it at opacity 40. A white
// digit must keep a contrast of 3:1 against the mean light of any digit-sized
// (6 x 11) patch of that band.
TEST(PictureLooks, WhiteStatusBarDigitsStayReadableOnEveryLevelPicture) {
    constexpr int kTop = 575, kBottom = 1037, kBoxW = 6, kBoxH = 11;
    double worstOverall = 99;
    for (int level = 1; level <= 20; ++level) {  // background index, as the levels name them
        const int sprite = level == 1 ? 13 : 121 + level;
        const media::SpritePixels p = decoded(sprite);
        ASSERT_EQ(p.width, 1920);
        ASSERT_GE(p.height, kBottom);
        const int w = p.width, h = kBottom - kTop;
        // Summed-area table of the relative luminance under the panel.
        std::vector<double> sat(static_cast<size_t>(w + 1) * (h + 1), 0.0);
        for (int y = 0; y < h; ++y) {
            double row = 0;
            for (int x = 0; x < w; ++x) {
                const uint32_t c = p.argb[static_cast<size_t>(y + kTop) * w + x];
                auto under = [](uint32_t v) { return linear((v * 215.0 + 149.0 * 40.0) / 255.0 / 255.0); };
                row += 0.2126 * under((c >> 16) & 0xFF) + 0.7152 * under((c >> 8) & 0xFF) + 0.0722 * under(c & 0xFF);
                sat[static_cast<size_t>(y + 1) * (w + 1) + x + 1] = sat[static_cast<size_t>(y) * (w + 1) + x + 1] + row;
            }
        }
        double brightest = 0;
        for (int y = 0; y + kBoxH <= h; ++y)
            for (int x = 0; x + kBoxW <= w; ++x) {
                auto at = [&](int xx, int yy) { return sat[static_cast<size_t>(yy) * (w + 1) + xx]; };
                const double sum = at(x + kBoxW, y + kBoxH) - at(x, y + kBoxH) - at(x + kBoxW, y) + at(x, y);
                brightest = std::max(brightest, sum / (kBoxW * kBoxH));
            }
        const double contrast = 1.05 / (brightest + 0.05);
        worstOverall = std::min(worstOverall, contrast);
        std::printf("background %2d (sprite %d): lowest contrast of white digits under the status bar %.2f:1\n", level,
                    sprite, contrast);
        EXPECT_GE(contrast, 3.0) << "background " << level;
    }
    std::printf("all backgrounds: lowest contrast %.2f:1\n", worstOverall);
}

// Her outline: the colour most of her silhouette's pixels have.
uint32_t outlineColour(const media::SpritePixels& p) {
    std::vector<std::pair<uint32_t, int>> counts;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            if (!opaque(p, x, y)) continue;
            if (opaque(p, x - 1, y) && opaque(p, x + 1, y) && opaque(p, x, y - 1) && opaque(p, x, y + 1)) continue;
            const uint32_t c = pixel(p, x, y);
            auto it = std::find_if(counts.begin(), counts.end(), [c](const auto& e) { return e.first == c; });
            if (it == counts.end()) counts.push_back({c, 1});
            else ++it->second;
        }
    return std::max_element(counts.begin(), counts.end(),
                            [](const auto& a, const auto& b) { return a.second < b.second; })
        ->first;
}

// The mean change of light from one pixel to the next one right, across her
// inside (her outline left out): above 0 when the light comes from the left.
double lightFromTheLeft(const media::SpritePixels& p) {
    const uint32_t outline = outlineColour(p);
    double sum = 0;
    int pairs = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x + 1 < p.width; ++x) {
            if (!opaque(p, x, y) || !opaque(p, x + 1, y)) continue;
            const uint32_t a = pixel(p, x, y), b = pixel(p, x + 1, y);
            if (a == outline || b == outline) continue;
            sum += luma(a) - luma(b);
            ++pairs;
        }
    return pairs ? sum / pairs : 0.0;
}

TEST(PictureLooks, TheGirlIsLitFromOneSideWhicheverWaySheFacesAndShowsOnTheDarkestSky) {
    for (int step = 0; step < 3; ++step) {
        const media::SpritePixels left = decoded(4 + step), right = decoded(10 + step);
        ASSERT_EQ(left.width, right.width);
        bool mirrored = true;
        for (int y = 0; y < left.height && mirrored; ++y)
            for (int x = 0; x < left.width && mirrored; ++x)
                mirrored = pixel(left, x, y) == pixel(right, left.width - 1 - x, y);
        EXPECT_FALSE(mirrored) << "frame " << 10 + step << " is frame " << 4 + step << " mirrored, light and all";
        const double l = lightFromTheLeft(left), r = lightFromTheLeft(right);
        std::printf("facing left %d: light from the left %+.2f; facing right %d: %+.2f\n", 4 + step, l, 10 + step, r);
        EXPECT_GT(l * r, 0.0) << "frames " << 4 + step << " and " << 10 + step << " are lit from opposite sides";
    }
    const double sky = darkestSkyLuminance();
    double worst = 99;
    for (int frame = 1; frame <= 12; ++frame)
        worst = std::min(worst, contrast(luminance(outlineColour(decoded(frame))), sky));
    std::printf("her outline against the darkest sky: %.2f:1\n", worst);
    EXPECT_GE(worst, 1.8);
}

TEST(PictureLooks, LettersAreDrawnLikeTheDigitsWithThinStrokesAtFullHeight) {
    int digitInk = 0;
    for (int d = 0; d < 10; ++d) {
        const Cell c = digitCell(d);
        digitInk += static_cast<int>(std::count(c.begin(), c.end(), true));
    }
    int letterInk = 0;
    for (int k = 0; k < 26; ++k) {
        const Cell c = letterCell(k);
        const char name = static_cast<char>('a' + k);
        auto ink = [&](int x, int y) { return x < kCellW && y < kCellH && c[y * kCellW + x]; };
        for (int y = 0; y + 1 < kCellH; ++y)
            for (int x = 0; x + 1 < kCellW; ++x)
                EXPECT_FALSE(ink(x, y) && ink(x + 1, y) && ink(x, y + 1) && ink(x + 1, y + 1))
                    << name << " has a stroke wider than one pixel at " << x << "," << y;
        bool top = false, bottom = false;
        for (int x = 0; x < kCellW; ++x) {
            top = top || ink(x, 0);
            bottom = bottom || ink(x, 9);
        }
        EXPECT_TRUE(top && bottom) << name << " does not stand the full cap height";
        letterInk += static_cast<int>(std::count(c.begin(), c.end(), true));
    }
    const double perLetter = letterInk / 26.0, perDigit = digitInk / 10.0;
    std::printf("ink per glyph: letters %.1f pixels, digits %.1f\n", perLetter, perDigit);
    EXPECT_NEAR(perLetter, perDigit, 0.25 * perDigit) << "letters and digits must weigh the same";
}

// The banner slides in at y 257 from x 0 to 457 before the level starts, five
// pixels a frame, and rests there. The game draws it as flat white over the
// level's orbs, so only its own shape and the orbs' restraint can show it: at
// least 78 % of the word's edge pixels must lie beside a pixel of the scene
// at least 64 levels darker than white, wherever the banner passes, on every
// level (an orb's sharp glint is all that may still touch it).
TEST(PictureLooks, TheLevelBannerReadsOverEveryLevelsOrbs) {
    const media::SpritePixels banner = decoded(game::sprite::LevelBanner);
    ASSERT_EQ(banner.width, 45);
    ASSERT_EQ(banner.height, 10);
    game::PrivateDataFolder folder;
    game::runHeadless();
    game::Timedemo unpaced;
    core::seedRandom(7);
    game::Game g;
    g.startUp();
    double worstOverall = 1;
    for (int level = 1; level <= 20; ++level) {
        g.state.levelEntryKind = 2;
        game::initLevelEntry(g.state);
        g.state.levelNumber = static_cast<uint8_t>(level);
        g.enterScreen(game::Screen::Play);
        double worst = 1;
        int worstX = 0;
        for (int frame = 0; frame < 95; ++frame) {
            const int bannerX = g.state.bannerX;
            g.runFrame();
            ASSERT_EQ(g.screen(), game::Screen::Play);
            const uint32_t* screen = media::screenPixels();
            int edges = 0, seen = 0;
            for (int y = 0; y < banner.height; ++y)
                for (int x = 0; x < banner.width; ++x) {
                    if (!opaque(banner, x, y)) continue;
                    const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
                    for (const auto& n : next) {
                        const int sx = bannerX + n[0], sy = 257 + n[1];
                        if (opaque(banner, n[0], n[1]) || sx < 0 || sx >= 1020) continue;
                        ++edges;
                        seen += luma(screen[static_cast<size_t>(sy) * 1020 + sx]) <= 255 - 64;
                    }
                }
            const double share = edges ? static_cast<double>(seen) / edges : 1.0;
            if (share < worst) {
                worst = share;
                worstX = bannerX;
            }
        }
        worstOverall = std::min(worstOverall, worst);
        std::printf("level %2d: the banner keeps %.0f %% of its edges at worst (at x %d)\n", level, 100 * worst,
                    worstX);
        EXPECT_GE(worst, 0.78) << "level " << level;
    }
    g.endProgram();
    std::printf("all levels: %.0f %%\n", 100 * worstOverall);
}

// The game shows the burst's frames 1, 2, 3, 1, 2 ... ten frames each over
// the dark sky while it fades, so each step, 3 to 1 included, must change the
// picture about as much as the others; and its ring must be bright.
TEST(PictureLooks, TheDeathBurstLoopsSmoothlyAndItsRingShowsOnTheDarkestSky) {
    std::vector<media::SpritePixels> frames;
    for (int f = 0; f < 3; ++f) frames.push_back(decoded(114 + f));
    auto seen = [](const media::SpritePixels& p, int x, int y) { return opaque(p, x, y) ? luma(pixel(p, x, y)) : 0.0; };
    double steps[3];
    for (int f = 0; f < 3; ++f) {
        const media::SpritePixels &a = frames[f], &b = frames[(f + 1) % 3];
        double sum = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x) sum += std::fabs(seen(a, x, y) - seen(b, x, y));
        steps[f] = sum / 2500;
    }
    std::printf("change from frame 1 to 2: %.1f, 2 to 3: %.1f, 3 to 1: %.1f\n", steps[0], steps[1], steps[2]);
    const double most = *std::max_element(steps, steps + 3), least = *std::min_element(steps, steps + 3);
    EXPECT_LE(most, 1.5 * least) << "the loop jumps at one of its steps";
    const double sky = darkestSkyLuminance();
    for (int f = 0; f < 3; ++f) {
        double sum = 0;
        int ring = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x) {
                const double r = std::hypot(x + 0.5 - 25, y + 0.5 - 25);
                if (r < 18 || r > 24.5 || !opaque(frames[f], x, y)) continue;
                sum += luminance(pixel(frames[f], x, y));
                ++ring;
            }
        const double shown = ring ? contrast(sum / ring, sky) : 0.0;
        std::printf("frame %d: %d ring pixels, %.1f:1 against the darkest sky\n", f + 1, ring, shown);
        EXPECT_GE(ring, 60) << "frame " << f + 1 << " has no ring";
        EXPECT_GE(shown, 4.5) << "frame " << f + 1;
    }
}

double hueOf(double r, double g, double b) {
    const double hi = std::max({r, g, b}), lo = std::min({r, g, b});
    if (hi == lo) return 0;
    double h = hi == r ? (g - b) / (hi - lo) : hi == g ? 2 + (b - r) / (hi - lo) : 4 + (r - g) / (hi - lo);
    return std::fmod(h * 60 + 360, 360);
}

// GAME OVER is drawn at (450, 150) over the game-over picture at intensity
// 169: its letters' fill must stand off that sky in light and in hue.
TEST(PictureLooks, GameOverStandsOffItsSkyInLightAndHue) {
    const media::SpritePixels caption = decoded(game::sprite::GameOverCaption), sky = decoded(151);
    std::vector<double> lumas;
    for (int y = 0; y < caption.height; ++y)
        for (int x = 0; x < caption.width; ++x)
            if (opaque(caption, x, y)) lumas.push_back(luma(pixel(caption, x, y)));
    ASSERT_FALSE(lumas.empty());
    std::nth_element(lumas.begin(), lumas.begin() + lumas.size() / 2, lumas.end());
    const double median = lumas[lumas.size() / 2];
    double fill[3] = {0, 0, 0}, under[3] = {0, 0, 0}, fillLight = 0, underLight = 0;
    int n = 0;
    for (int y = 0; y < caption.height; ++y)
        for (int x = 0; x < caption.width; ++x) {
            if (!opaque(caption, x, y) || luma(pixel(caption, x, y)) <= median) continue;
            const uint32_t c = pixel(caption, x, y), b = pixel(sky, 450 + x, 150 + y);
            const uint32_t dimmed = ((((b >> 16) & 0xFF) * 169 / 255) << 16) | ((((b >> 8) & 0xFF) * 169 / 255) << 8) |
                                    ((b & 0xFF) * 169 / 255);
            for (int k = 0; k < 3; ++k) {
                fill[k] += (c >> (16 - 8 * k)) & 0xFF;
                under[k] += (dimmed >> (16 - 8 * k)) & 0xFF;
            }
            fillLight += luminance(c);
            underLight += luminance(dimmed);
            ++n;
        }
    const double shown = contrast(fillLight / n, underLight / n);
    const double hueFill = hueOf(fill[0], fill[1], fill[2]), hueSky = hueOf(under[0], under[1], under[2]);
    const double apart = std::min(std::fabs(hueFill - hueSky), 360 - std::fabs(hueFill - hueSky));
    std::printf("GAME OVER: fill hue %.0f, sky hue %.0f (%.0f degrees apart), contrast %.1f:1\n", hueFill, hueSky,
                apart, shown);
    EXPECT_GE(shown, 4.5);
    EXPECT_GE(apart, 90.0) << "the caption is the colour of its sky";
}

// The won game's screen is the game-over picture with its own fires: they
// must burn bright and throw sparks, single bright pixels above the flames.
TEST(PictureLooks, TheWonGamesFiresBurnBrightAndThrowSparks) {
    for (int f = 0; f < 5; ++f) {
        const media::SpritePixels p = decoded(game::sprite::fire(f + 1));
        double sum = 0;
        int flame = 0, sparks = 0;
        for (int y = 0; y < p.height - 10; ++y)  // above the logs
            for (int x = 0; x < p.width; ++x) {
                if (!opaque(p, x, y)) continue;
                const uint32_t c = pixel(p, x, y);
                sum += luma(c);
                ++flame;
                bool alone = true;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if ((dx || dy) && opaque(p, x + dx, y + dy) && (dy != 1 || dx != 0)) alone = false;
                sparks += alone && luma(c) > 150;
            }
        std::printf("fire frame %d: mean light %.0f, %d sparks\n", f + 1, sum / flame, sparks);
        EXPECT_GE(sum / flame, 175.0) << "frame " << f + 1;
        EXPECT_GE(sparks, 3) << "frame " << f + 1;
    }
}

// A tip without an icon stands centred on the 1020-pixel screen, its picture
// drawn at the x of the game's tip table.
TEST(PictureLooks, TipsWithoutAnIconStandCentred) {
    for (int t = 1; t <= 60; ++t) {
        const game::Tip* tip = game::findTip(t);
        ASSERT_NE(tip, nullptr);
        if (tip->iconCount > 0) continue;
        const media::SpritePixels p = decoded(game::sprite::tip(t));
        int left = p.width, right = -1;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                if (opaque(p, x, y)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        ASSERT_GE(right, left) << "tip " << t << " is empty";
        EXPECT_NEAR(tip->x + (left + right + 1) / 2.0, 510.0, 2.0) << "tip " << t;
    }
}

// An orb is a disc of radius 22.6 about (24, 24) in its 48 x 48 picture. With
// black as the only transparency its edge cannot fade out, so the painter
// pre-blends it: every pixel the disc covers by a third or more is drawn, the
// partly covered ones mixed towards a mid tone, which is neither a copy of the
// orb's inside (a hard stair on bright skies) nor a dark rim (a halo on dark ones).
TEST(PictureLooks, OrbEdgesArePreBlendedInsteadOfCutAtHalfCover) {
    const int orbs[] = {107, 108, 109, 117, 119, 142, 144, 146, 156};
    for (int number : orbs) {
        const media::SpritePixels p = decoded(number);
        ASSERT_EQ(p.width, 48);
        int missing = 0, partial = 0;
        double step = 0, light = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) {
                int in = 0;
                for (int sy = 0; sy < 8; ++sy)
                    for (int sx = 0; sx < 8; ++sx)
                        in += std::hypot(x + (sx + 0.5) / 8 - 24, y + (sy + 0.5) / 8 - 24) < 22.6;
                const double cover = in / 64.0;
                if (cover < 0.34 || cover > 0.66) continue;
                if (!opaque(p, x, y)) {
                    ++missing;
                    continue;
                }
                // The neighbour one pixel towards the centre.
                const double d = std::hypot(x + 0.5 - 24, y + 0.5 - 24);
                const int ix = static_cast<int>(std::floor(x + 0.5 - (x + 0.5 - 24) / d * 1.5));
                const int iy = static_cast<int>(std::floor(y + 0.5 - (y + 0.5 - 24) / d * 1.5));
                step += std::fabs(luma(pixel(p, x, y)) - luma(pixel(p, ix, iy)));
                light += luma(pixel(p, x, y));
                ++partial;
            }
        std::printf("orb %d: %d half-covered edge pixels missing; drawn ones differ from inside by %.0f, light %.0f\n",
                    number, missing, partial ? step / partial : 0.0, partial ? light / partial : 0.0);
        EXPECT_EQ(missing, 0) << "orb " << number << " is cut at half cover";
        ASSERT_GT(partial, 0);
        EXPECT_GE(step / partial, 8.0) << "orb " << number << ": its edge pixels are not blended";
        EXPECT_GE(light / partial, 40.0) << "orb " << number << ": its edge is a dark rim";
    }
}

// The icon at every size the desktop installs: a clear margin all round, so
// the orb and the girl's feet are whole; and her own flat colours, where a
// picture shrunk by averaging (or blown up smoothly) turns into a smudge of
// colours she does not have.
TEST(PictureLooks, TheIconIsWholeWithAMarginAndInHerOwnColoursAtEverySize) {
    const media::SpritePixels girl = decoded(game::sprite::playerFrame(1));
    std::vector<uint32_t> palette;
    for (uint32_t c : girl.argb)
        if ((c >> 24) && std::find(palette.begin(), palette.end(), c) == palette.end()) palette.push_back(c);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const media::IconImage icon = game::gameIcon(size);
        ASSERT_EQ(icon.size, size);
        int border = 0, own = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const uint32_t c = icon.argb[static_cast<size_t>(y) * size + x];
                if ((x == 0 || y == 0 || x == size - 1 || y == size - 1) && (c >> 24)) ++border;
                own += std::find(palette.begin(), palette.end(), c) != palette.end();
            }
        std::printf("icon %3d: %d pixels on its edge, %.0f %% of it in the girl's own colours\n", size, border,
                    100.0 * own / (size * size));
        EXPECT_EQ(border, 0) << "the icon at " << size << " has no margin";
        EXPECT_GE(own * 5, size * size) << "the girl is a smudge at " << size;
    }
}

}  // namespace
