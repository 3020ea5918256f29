#include "game/digit_sprites.h"

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
    {20, 11, {"XXXXXX", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "XXXXXX"}},
    {21, 11, {"XXXX..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "XXXXXX"}},
    {22, 11, {"XXXXXX", ".....X", ".....X", ".....X", ".....X", "XXXXXX", "X.....", "X.....", "X.....", "X.....", "XXXXXX"}},
    {23, 11, {"XXXXXX", ".....X", ".....X", ".....X", ".....X", "XXXXX.", ".....X", ".....X", ".....X", ".....X", "XXXXXX"}},
    {24, 11, {"X.....", "X....X", "X....X", "X....X", "X....X", "X....X", "XXXXXX", ".....X", ".....X", ".....X", ".....X"}},
    {25, 11, {".XXXXX", ".X....", ".X....", ".X....", ".X....", ".XXXXX", ".....X", ".....X", ".....X", "X....X", ".XXXXX"}},
    {26, 11, {"XX....", "X.....", "X.....", "X.....", "X.....", "X.....", "XXXXXX", "X....X", "X....X", "X....X", "XXXXXX"}},
    {27, 11, {"XXXXXX", ".....X", ".....X", ".....X", ".....X", "....X.", "..XX..", "..X...", "..X...", "..X...", "..X..."}},
    {28, 11, {".XXXX.", ".X..X.", ".X..X.", ".X..X.", ".X..X.", "XXXXXX", "X....X", "X....X", "X....X", "X....X", "XXXXXX"}},
    {29, 11, {"XXXXXX", "X....X", "X....X", "X....X", "XXXXXX", ".....X", ".....X", ".....X", ".....X", ".....X", "....XX"}},
    {60, 8, {"......", "XX....", "XX....", "......", "......", "XX....", "XX....", "......"}},
    {61, 8, {"......", "......", "......", "......", "......", "....XX", "....XX", "......"}},
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
