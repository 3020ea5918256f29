// SPDX-License-Identifier: MIT
#include "game/screens/digit_sprites.h"

#include "game/rules/catalogue.h"
#include "media/drawing.h"
#include "media/screen.h"

namespace game {

namespace {
struct Glyph {
    int sprite;
    int height;
    const char* rows[11];
};

// X marks a white pixel.
constexpr Glyph kGlyphs[] = {
    {sprite::digit(0),
     11,
     {"XXXXXX", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "XXXXXX"}},
    {sprite::digit(1),
     11,
     {"XXXX..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "XXXXXX"}},
    {sprite::digit(2),
     11,
     {"XXXXXX", ".....X", ".....X", ".....X", ".....X", "XXXXXX", "X.....", "X.....", "X.....", "X.....", "XXXXXX"}},
    {sprite::digit(3),
     11,
     {"XXXXXX", ".....X", ".....X", ".....X", ".....X", "XXXXX.", ".....X", ".....X", ".....X", ".....X", "XXXXXX"}},
    {sprite::digit(4),
     11,
     {"X.....", "X....X", "X....X", "X....X", "X....X", "X....X", "XXXXXX", ".....X", ".....X", ".....X", ".....X"}},
    {sprite::digit(5),
     11,
     {".XXXXX", ".X....", ".X....", ".X....", ".X....", ".XXXXX", ".....X", ".....X", ".....X", "X....X", ".XXXXX"}},
    {sprite::digit(6),
     11,
     {"XX....", "X.....", "X.....", "X.....", "X.....", "X.....", "XXXXXX", "X....X", "X....X", "X....X", "XXXXXX"}},
    {sprite::digit(7),
     11,
     {"XXXXXX", ".....X", ".....X", ".....X", ".....X", "....X.", "..XX..", "..X...", "..X...", "..X...", "..X..."}},
    {sprite::digit(8),
     11,
     {".XXXX.", ".X..X.", ".X..X.", ".X..X.", ".X..X.", "XXXXXX", "X....X", "X....X", "X....X", "X....X", "XXXXXX"}},
    {sprite::digit(9),
     11,
     {"XXXXXX", "X....X", "X....X", "X....X", "XXXXXX", ".....X", ".....X", ".....X", ".....X", ".....X", "....XX"}},
    {sprite::Colon, 8, {"......", "XX....", "XX....", "......", "......", "XX....", "XX....", "......"}},
    {sprite::Dot, 8, {"......", "......", "......", "......", "......", "....XX", "....XX", "......"}},
};
}  // namespace

void createDigitSprites() {
    for (const Glyph& glyph : kGlyphs) {
        media::createSprite(glyph.sprite, 6, glyph.height);
        media::startDrawing(media::spriteOutput(glyph.sprite));
        for (int y = 0; y < glyph.height; ++y)
            for (int x = 0; x < 6; ++x)
                if (glyph.rows[y][x] == 'X') media::plot(x, y);
        media::stopDrawing();
    }
}

}  // namespace game
