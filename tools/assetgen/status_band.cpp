// SPDX-License-Identifier: MIT
#include "status_band.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace gen {

namespace {

// The level picture is drawn at (50 - playerX, -playerY) with the girl's y
// from 48 to 430, and the status bar covers screen rows 527 to 606: picture
// rows 575 to 1036 can lie under it, at any column.
constexpr int kBandTop = 575, kBandEnd = 1037;
// Rows above and below over which the darkening fades out.
constexpr int kFeather = 160;
// The grey panel (149, 149, 149) is drawn over the picture at opacity 40.
constexpr float kPanel = 149.0f / 255.0f, kPanelShare = 40.0f / 255.0f;
// A digit's size; the mean light of such a patch is what the digit sits on.
constexpr int kBoxW = 6, kBoxH = 11;
// Highest mean relative luminance allowed under a digit: white on it then has
// a contrast of 1.05 / (0.24 + 0.05), about 3.6:1, which leaves room for the
// JPEG encoding.
constexpr float kLimit = 0.24f;

float toLinear(float v) { return v <= 0.04045f ? v / 12.92f : std::pow((v + 0.055f) / 1.055f, 2.4f); }
float toSrgb(float v) { return v <= 0.0031308f ? v * 12.92f : 1.055f * std::pow(v, 1.0f / 2.4f) - 0.055f; }

float underPanel(const float* p) {
    auto lum = [](float v) { return toLinear(std::clamp(v, 0.0f, 1.0f) * (1 - kPanelShare) + kPanel * kPanelShare); };
    return 0.2126f * lum(p[0]) + 0.7152f * lum(p[1]) + 0.0722f * lum(p[2]);
}

// Mean over a box of w x h around each element (clipped at the edges).
std::vector<float> boxMean(const std::vector<float>& v, int width, int height, int w, int h) {
    std::vector<double> sat(static_cast<size_t>(width + 1) * (height + 1), 0.0);
    for (int y = 0; y < height; ++y) {
        double row = 0;
        for (int x = 0; x < width; ++x) {
            row += v[static_cast<size_t>(y) * width + x];
            sat[static_cast<size_t>(y + 1) * (width + 1) + x + 1] = sat[static_cast<size_t>(y) * (width + 1) + x + 1] +
                                                                    row;
        }
    }
    std::vector<float> out(v.size());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int x0 = std::max(0, x - w / 2), x1 = std::min(width, x0 + w);
            const int y0 = std::max(0, y - h / 2), y1 = std::min(height, y0 + h);
            auto at = [&](int xx, int yy) { return sat[static_cast<size_t>(yy) * (width + 1) + xx]; };
            const double sum = at(x1, y1) - at(x0, y1) - at(x1, y0) + at(x0, y0);
            out[static_cast<size_t>(y) * width + x] = static_cast<float>(sum / ((x1 - x0) * (y1 - y0)));
        }
    return out;
}

// Smallest value within a box of w x h around each element.
std::vector<float> boxMin(const std::vector<float>& v, int width, int height, int w, int h) {
    std::vector<float> rows(v.size()), out(v.size());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float m = 1.0f;
            for (int k = std::max(0, x - w); k <= std::min(width - 1, x + w); ++k)
                m = std::min(m, v[static_cast<size_t>(y) * width + k]);
            rows[static_cast<size_t>(y) * width + x] = m;
        }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float m = 1.0f;
            for (int k = std::max(0, y - h); k <= std::min(height - 1, y + h); ++k)
                m = std::min(m, rows[static_cast<size_t>(k) * width + x]);
            out[static_cast<size_t>(y) * width + x] = m;
        }
    return out;
}

}  // namespace

void keepStatusBarDark(Canvas& c) {
    const int top = std::max(0, kBandTop - kFeather), end = std::min(c.h, kBandEnd + kFeather);
    const int rows = end - top;
    if (rows <= 0) return;
    std::vector<float> light(static_cast<size_t>(c.w) * rows);
    // A few rounds: darkening the picture lowers the light under the panel
    // less than in proportion, because the panel's own grey stays.
    for (int round = 0; round < 12; ++round) {
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < c.w; ++x) light[static_cast<size_t>(y) * c.w + x] = underPanel(c.at(x, y + top));
        const std::vector<float> mean = boxMean(light, c.w, rows, kBoxW, kBoxH);
        std::vector<float> keep(mean.size());
        bool any = false;
        for (size_t i = 0; i < mean.size(); ++i) {
            const int y = static_cast<int>(i / c.w) + top;
            const bool inBand = y >= kBandTop && y < kBandEnd;
            keep[i] = inBand && mean[i] > kLimit ? kLimit / mean[i] : 1.0f;
            any = any || keep[i] < 1.0f;
        }
        if (!any) return;
        // Spread each darkening over its neighbourhood, then soften it, so
        // that no dark blotch outlines a bright cloud.
        const std::vector<float> spread = boxMean(boxMean(boxMin(keep, c.w, rows, 16, 16), c.w, rows, 61, 61), c.w,
                                                  rows, 61, 61);
        for (int y = 0; y < rows; ++y) {
            const int py = y + top;
            // Outside the band the darkening fades out over the feather rows.
            const float distance = py < kBandTop ? kBandTop - py : py >= kBandEnd ? py - kBandEnd + 1 : 0;
            const float t = std::clamp(1.0f - distance / kFeather, 0.0f, 1.0f);
            const float weight = t * t * (3 - 2 * t);
            for (int x = 0; x < c.w; ++x) {
                const size_t i = static_cast<size_t>(y) * c.w + x;
                const float k = 1.0f - weight * (1.0f - spread[i]);
                if (k >= 1.0f) continue;
                float* p = c.at(x, py);
                for (int ch = 0; ch < 3; ++ch) p[ch] = toSrgb(toLinear(std::clamp(p[ch], 0.0f, 1.0f)) * k);
            }
        }
    }
}

}  // namespace gen
