// SPDX-License-Identifier: MIT
#include "media/presentation.h"

#include <algorithm>
#include <cstdint>

#include "media/screen.h"

namespace media {

namespace {

ScaleMode currentScale = ScaleMode::Stretch;
RendererChoice currentRenderer = RendererChoice::Auto;
ScaleFilter currentFilter = ScaleFilter::Auto;
std::function<void(ScaleMode)> scaleObserver;

struct Named {
    std::string_view name;
    int value;
};
constexpr Named kScaleNames[] = {{"stretch", 0}, {"aspect", 1}, {"integer", 2}};
constexpr Named kRendererNames[] = {{"auto", 0}, {"software", 1}, {"gpu", 2}};
constexpr Named kFilterNames[] = {{"auto", 0}, {"sharp", 1}, {"smooth", 2}};

template <typename Enum, size_t N>
bool parseNamed(const Named (&names)[N], std::string_view text, Enum& out) {
    for (const Named& named : names)
        if (named.name == text) {
            out = static_cast<Enum>(named.value);
            return true;
        }
    return false;
}

template <size_t N>
const char* nameOf(const Named (&names)[N], int value) {
    for (const Named& named : names)
        if (named.value == value) return named.name.data();
    return names[0].name.data();
}

// The largest picture of the screen's proportions inside the window, its
// sides rounded to the nearest pixel, centred.
PictureRect aspectRect(int windowWidth, int windowHeight) {
    int64_t w = windowWidth, h = windowHeight;
    PictureRect rect;
    if (w * kScreenHeight >= h * kScreenWidth) {
        rect.height = windowHeight;
        rect.width = static_cast<int>(std::min<int64_t>(w, (h * kScreenWidth + kScreenHeight / 2) / kScreenHeight));
    } else {
        rect.width = windowWidth;
        rect.height = static_cast<int>(std::min<int64_t>(h, (w * kScreenHeight + kScreenWidth / 2) / kScreenWidth));
    }
    rect.x = (windowWidth - rect.width) / 2;
    rect.y = (windowHeight - rect.height) / 2;
    return rect;
}

}  // namespace

void setScaleMode(ScaleMode mode) { currentScale = mode; }
ScaleMode scaleMode() { return currentScale; }
bool parseScaleMode(std::string_view text, ScaleMode& mode) { return parseNamed(kScaleNames, text, mode); }
const char* scaleModeName(ScaleMode mode) { return nameOf(kScaleNames, static_cast<int>(mode)); }
void setScaleModeObserver(std::function<void(ScaleMode)> observer) { scaleObserver = std::move(observer); }

void setScaleFilter(ScaleFilter filter) { currentFilter = filter; }
ScaleFilter scaleFilter() { return currentFilter; }
bool parseScaleFilter(std::string_view text, ScaleFilter& filter) { return parseNamed(kFilterNames, text, filter); }
const char* scaleFilterName(ScaleFilter filter) { return nameOf(kFilterNames, static_cast<int>(filter)); }

bool smoothScaling(ScaleFilter filter, const PictureRect& rect) {
    if (filter != ScaleFilter::Auto) return filter == ScaleFilter::Smooth;
    bool whole = rect.width % kScreenWidth == 0 && rect.height % kScreenHeight == 0 &&
                 rect.width / kScreenWidth == rect.height / kScreenHeight;
    return !whole;
}

void setRendererChoice(RendererChoice choice) { currentRenderer = choice; }
RendererChoice rendererChoice() { return currentRenderer; }
bool parseRendererChoice(std::string_view text, RendererChoice& choice) {
    return parseNamed(kRendererNames, text, choice);
}
const char* rendererChoiceName(RendererChoice choice) { return nameOf(kRendererNames, static_cast<int>(choice)); }

PictureRect pictureRect(ScaleMode mode, int windowWidth, int windowHeight) {
    windowWidth = std::max(1, windowWidth);
    windowHeight = std::max(1, windowHeight);
    if (mode == ScaleMode::Stretch) return {0, 0, windowWidth, windowHeight};
    int multiple = std::min(windowWidth / kScreenWidth, windowHeight / kScreenHeight);
    if (mode == ScaleMode::Aspect || multiple < 1) return aspectRect(windowWidth, windowHeight);
    PictureRect rect{0, 0, kScreenWidth * multiple, kScreenHeight * multiple};
    rect.x = (windowWidth - rect.width) / 2;
    rect.y = (windowHeight - rect.height) / 2;
    return rect;
}

void cycleScaleMode() {
    currentScale = static_cast<ScaleMode>((static_cast<int>(currentScale) + 1) % 3);
    if (scaleObserver) scaleObserver(currentScale);
}

}  // namespace media
