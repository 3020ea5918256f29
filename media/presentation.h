// SPDX-License-Identifier: MIT
#pragma once
// How the finished 1020 x 607 picture reaches the window: which drawing path
// makes it (the software compositor or the GPU through SDL's renderer) and
// how it is scaled to the window's size. Both are the player's choice; the
// defaults give the original's picture: stretched to fill the window.
#include <functional>
#include <string_view>

namespace media {

// stretch: fills the window (the original); aspect: the largest picture of
// the same proportions, centred on black; integer: the largest whole
// multiple of 1020 x 607 that fits, centred (as aspect in a smaller window).
enum class ScaleMode { Stretch, Aspect, Integer };
// Where the picture goes in a window of that client size, in window pixels.
struct PictureRect {
    int x = 0, y = 0, width = 0, height = 0;
};
void setScaleMode(ScaleMode mode);
ScaleMode scaleMode();
// "stretch", "aspect", "integer"; false (mode unchanged) for any other text.
bool parseScaleMode(std::string_view text, ScaleMode& mode);
const char* scaleModeName(ScaleMode mode);
// Called with the new mode when the player changes it with F10.
void setScaleModeObserver(std::function<void(ScaleMode)> observer);

// How the picture's pixels are spread over the window's: sharp takes the
// nearest (the original's way: whole multiples stay crisp, but a shrunk
// picture loses its 1-pixel strokes and a fraction makes them uneven),
// smooth blends neighbours, auto is sharp at whole multiples and smooth
// otherwise.
enum class ScaleFilter { Auto, Sharp, Smooth };
void setScaleFilter(ScaleFilter filter);
ScaleFilter scaleFilter();
// "auto", "sharp", "smooth"; false (filter unchanged) for any other text.
bool parseScaleFilter(std::string_view text, ScaleFilter& filter);
const char* scaleFilterName(ScaleFilter filter);
// Whether a picture placed at `rect` is drawn smoothed under `filter`.
bool smoothScaling(ScaleFilter filter, const PictureRect& rect);

// auto: the GPU when SDL's renderer is accelerated and not a software
// rasteriser, else software.
enum class RendererChoice { Auto, Software, Gpu };
// Takes effect when the screen opens next.
void setRendererChoice(RendererChoice choice);
RendererChoice rendererChoice();
// "auto", "software", "gpu"; false (choice unchanged) for any other text.
bool parseRendererChoice(std::string_view text, RendererChoice& choice);
const char* rendererChoiceName(RendererChoice choice);

PictureRect pictureRect(ScaleMode mode, int windowWidth, int windowHeight);
// F10: stretch, aspect, integer, stretch, ...; tells the observer.
void cycleScaleMode();

}  // namespace media
