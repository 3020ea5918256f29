// SPDX-License-Identifier: MIT
#pragma once
// The game's screen: a fixed 1020 x 607 back buffer, presented stretched to
// the window, and numbered sprites drawn on it with an opacity and an
// optional flat tint. Black is the transparent colour of every sprite.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace media {

constexpr int kScreenWidth = 1020;
constexpr int kScreenHeight = 607;
constexpr int64_t kNoTint = -1;

struct DrawingOutput;
class Window;

bool initSprites();
void shutdownSprites();
// The screen fills the window's client area; width and height are not used,
// the picture is always kScreenWidth x kScreenHeight.
int openWindowedScreen(Window* window, int x, int y, int width, int height, int autoStretch, int rightMargin,
                       int bottomMargin);
void closeScreen();
void clearScreen(uint32_t colour);
// Presents the frame and paces the game at 60 frames per second.
int flipBuffers();

// PNG or JPEG data of the given true length; false (and no sprite) when the
// data is not a complete image.
bool loadSpriteFromMemory(int number, const unsigned char* data, size_t length);
struct ImageBytes {
    const unsigned char* data;
    size_t length;
};
// Starts decoding these pictures on a second thread, so that a later
// loadSpriteFromMemory of the same data (which must stay where it is) finds
// them decoded.
void prefetchSpriteImages(std::vector<ImageBytes> images);
bool createSprite(int number, int width, int height);
DrawingOutput* spriteOutput(int number);
bool isSprite(int number);
int spriteWidth(int number);
int spriteHeight(int number);

int displaySprite(int number, int x, int y, int intensity);
// colour r + g*256 + b*65536 fills the visible pixels; kNoTint draws the sprite's own colours.
int displaySpriteTinted(int number, int x, int y, int intensity, int64_t colour);
// Strict rectangle overlap: sprites that only touch do not collide.
int spritesCollide(int number1, int x1, int y1, int number2, int x2, int y2);

}  // namespace media
