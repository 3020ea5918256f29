// SPDX-License-Identifier: MIT
#include "sheet.h"

#include <algorithm>
#include <cmath>

#include "encode.h"
#include "text.h"

namespace gen {

namespace {
constexpr int kSheetWidth = 1800;
constexpr int kMaxThumbW = 740;  // the widest tip stays at full size
constexpr int kMaxThumbH = 150;
constexpr int kLabelH = 14;
constexpr int kGap = 8;
}  // namespace

Thumb makeThumb(int number, const std::vector<uint8_t>& pixels, int w, int h, int channels) {
    int zoom = (w <= 40 && h <= 40) ? 2 : 1;
    int shrink = 1;
    while (w / shrink > kMaxThumbW || h / shrink > kMaxThumbH) ++shrink;
    const int tw = std::max(1, w * zoom / shrink), th = std::max(1, h * zoom / shrink);
    Thumb t{number, Canvas(tw, th)};
    for (int y = 0; y < th; ++y)
        for (int x = 0; x < tw; ++x) {
            // Box filter over the source block; key pixels count as holes.
            float r = 0, g = 0, b = 0;
            int seen = 0, total = 0;
            const int sx0 = x * shrink / zoom, sy0 = y * shrink / zoom;
            const int span = std::max(1, shrink);
            for (int sy = sy0; sy < std::min(h, sy0 + span); ++sy)
                for (int sx = sx0; sx < std::min(w, sx0 + span); ++sx) {
                    const uint8_t* p = &pixels[(static_cast<size_t>(sy) * w + sx) * channels];
                    ++total;
                    if (p[0] == 0 && p[1] == 0 && p[2] == 0) continue;
                    r += p[0];
                    g += p[1];
                    b += p[2];
                    ++seen;
                }
            if (seen * 2 >= total && seen > 0)
                t.picture.set(x, y, {r / seen / 255.0f, g / seen / 255.0f, b / seen / 255.0f}, 1.0f);
        }
    return t;
}

void writeContactSheet(const std::string& path, const std::vector<Thumb>& thumbs, const std::string& font) {
    struct Place {
        int x, y;
    };
    std::vector<Place> places;
    int x = kGap, y = kGap, rowH = 0;
    for (const Thumb& t : thumbs) {
        const int cw = std::max(t.picture.w, 28);
        if (x + cw + kGap > kSheetWidth) {
            x = kGap;
            y += rowH + kLabelH + kGap;
            rowH = 0;
        }
        places.push_back({x, y});
        x += cw + kGap;
        rowH = std::max(rowH, t.picture.h);
    }
    Canvas sheet(kSheetWidth, y + rowH + kLabelH + kGap);
    sheet.fill(rgb(38, 40, 48));
    const TextStyle labelStyle{rgb(235, 235, 240), rgb(200, 205, 215), rgb(20, 20, 28), 0.0f, 0.0f};
    for (size_t i = 0; i < thumbs.size(); ++i) {
        const Thumb& t = thumbs[i];
        const Place p = places[i];
        paintText(sheet, trim(renderText(font, std::to_string(t.number), 10 * 64)), p.x, p.y + 1, labelStyle);
        const int py = p.y + kLabelH;
        for (int ty = 0; ty < t.picture.h; ++ty)
            for (int tx = 0; tx < t.picture.w; ++tx) {
                const bool dark = ((tx / 6) + (ty / 6)) % 2 == 0;
                sheet.set(p.x + tx, py + ty, dark ? rgb(96, 96, 104) : rgb(150, 150, 160));
                const float* src = t.picture.at(tx, ty);
                if (src[3] > 0.0f) sheet.set(p.x + tx, py + ty, {src[0], src[1], src[2]});
            }
    }
    writePng(path, sheet.w, sheet.h, 3, toRgb8(sheet));
}

}  // namespace gen
