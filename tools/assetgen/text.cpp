// SPDX-License-Identifier: MIT
#include "text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace gen {

namespace {

// One library and face per call keeps threads from sharing FreeType state.
struct Face {
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    explicit Face(const std::string& file) {
        if (FT_Init_FreeType(&lib)) throw std::runtime_error("freetype init failed");
        if (FT_New_Face(lib, file.c_str(), 0, &face)) {
            FT_Done_FreeType(lib);
            throw std::runtime_error("cannot open font " + file);
        }
    }
    ~Face() {
        FT_Done_Face(face);
        FT_Done_FreeType(lib);
    }
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
};

std::u32string decodeUtf8(const std::string& s) {
    std::u32string out;
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k < len && i + k < s.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(cp);
        i += len;
    }
    return out;
}

}  // namespace

Mask renderText(const std::string& fontFile, const std::string& text, int size26_6, float tracking) {
    Face f(fontFile);
    FT_Set_Char_Size(f.face, 0, size26_6, 72, 72);
    const std::u32string chars = decodeUtf8(text);
    const int ascent = static_cast<int>(std::ceil(f.face->size->metrics.ascender / 64.0));
    const int descent = static_cast<int>(std::ceil(-f.face->size->metrics.descender / 64.0));

    struct Placed {
        std::vector<unsigned char> bits;
        int w, h, pitch, left, top;
        float penX;
    };
    std::vector<Placed> glyphs;
    float pen = 0;
    FT_UInt prev = 0;
    int minX = 1 << 20, maxX = -(1 << 20);
    for (char32_t cp : chars) {
        const FT_UInt gi = FT_Get_Char_Index(f.face, cp);
        if (prev && gi) {
            FT_Vector k;
            if (!FT_Get_Kerning(f.face, prev, gi, FT_KERNING_DEFAULT, &k)) pen += k.x / 64.0f;
        }
        if (FT_Load_Glyph(f.face, gi, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT)) continue;
        const FT_GlyphSlot g = f.face->glyph;
        Placed p{{},
                 static_cast<int>(g->bitmap.width),
                 static_cast<int>(g->bitmap.rows),
                 g->bitmap.pitch,
                 g->bitmap_left,
                 g->bitmap_top,
                 std::round(pen)};
        p.bits.assign(g->bitmap.buffer, g->bitmap.buffer + static_cast<size_t>(std::abs(p.pitch)) * p.h);
        if (p.w > 0) {
            minX = std::min(minX, static_cast<int>(p.penX) + p.left);
            maxX = std::max(maxX, static_cast<int>(p.penX) + p.left + p.w);
        }
        glyphs.push_back(std::move(p));
        pen += g->advance.x / 64.0f + tracking;
        prev = gi;
    }
    Mask m;
    if (minX > maxX) return m;
    m.w = maxX - minX;
    m.h = ascent + descent;
    m.baseline = ascent;
    m.cov.assign(static_cast<size_t>(m.w) * m.h, 0.0f);
    for (const Placed& p : glyphs)
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x) {
                const int mx = static_cast<int>(p.penX) + p.left + x - minX;
                const int my = ascent - p.top + y;
                if (mx < 0 || my < 0 || mx >= m.w || my >= m.h) continue;
                float& dst = m.cov[static_cast<size_t>(my) * m.w + mx];
                dst = std::min(1.0f, dst + p.bits[static_cast<size_t>(y) * p.pitch + x] / 255.0f);
            }
    return m;
}

Mask trim(const Mask& m) {
    int x0 = m.w, x1 = -1, y0 = m.h, y1 = -1;
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x)
            if (m.at(x, y) > 0.02f) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    Mask out;
    if (x1 < 0) return out;
    out.w = x1 - x0 + 1;
    out.h = y1 - y0 + 1;
    out.baseline = m.baseline - y0;
    out.cov.resize(static_cast<size_t>(out.w) * out.h);
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x) out.cov[static_cast<size_t>(y) * out.w + x] = m.at(x + x0, y + y0);
    return out;
}

Mask fitText(const std::string& fontFile, const std::string& text, int maxW, int maxH, float maxSizePx,
             float tracking) {
    // Binary search in quarter pixels; ink size grows monotonically enough with the size.
    int lo = 4 * 4, hi = static_cast<int>(maxSizePx * 4);
    Mask best = trim(renderText(fontFile, text, lo * 16, tracking));
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        Mask m = trim(renderText(fontFile, text, mid * 16, tracking));
        if (m.w <= maxW && m.h <= maxH) {
            lo = mid;
            best = std::move(m);
        } else {
            hi = mid - 1;
        }
    }
    return best;
}

void paintText(Canvas& c, const Mask& m, int x, int y, const TextStyle& s) {
    const int r = static_cast<int>(std::ceil(s.outlineRadius));
    const int sh = static_cast<int>(std::round(s.shadow));
    // The area the outline and shadow may cover, with a free border of one pixel.
    const int x0 = -r - 1, y0 = -r - 1, aw = m.w + 2 * r + sh + 2, ah = m.h + 2 * r + sh + 2;
    // Counters (the insides of O, A, R...) stay clear: only what is reached from
    // outside the letters without crossing ink gets the outline and the shadow,
    // so a word never turns into a dark block.
    std::vector<char> outside(static_cast<size_t>(aw) * ah, 0);
    std::vector<int> todo{0};
    outside[0] = 1;
    while (!todo.empty()) {
        const int i = todo.back();
        todo.pop_back();
        const int ax = i % aw, ay = i / aw;
        const int next[4][2] = {{ax - 1, ay}, {ax + 1, ay}, {ax, ay - 1}, {ax, ay + 1}};
        for (const auto& n : next) {
            if (n[0] < 0 || n[1] < 0 || n[0] >= aw || n[1] >= ah) continue;
            const int j = n[1] * aw + n[0];
            if (outside[j] || m.at(n[0] + x0, n[1] + y0) >= 0.5f) continue;
            outside[j] = 1;
            todo.push_back(j);
        }
    }
    for (int my = -r; my < m.h + r + sh; ++my)
        for (int mx = -r; mx < m.w + r + sh; ++mx) {
            const float ink = m.at(mx, my);
            const bool open = outside[static_cast<size_t>(my - y0) * aw + (mx - x0)] != 0;
            if (ink < 0.5f && !open) continue;
            // Hard outer edge: any ink within the radius makes the pixel part of the outline.
            float near = 0;
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx)
                    if (dx * dx + dy * dy <= s.outlineRadius * s.outlineRadius + 0.5f)
                        near = std::max(near, m.at(mx + dx, my + dy));
            if (sh > 0)
                for (int dy = -r; dy <= r; ++dy)
                    for (int dx = -r; dx <= r; ++dx) near = std::max(near, m.at(mx + dx - sh, my + dy - sh));
            if (near < 0.3f && ink < 0.5f) continue;
            const float t = m.h > 1 ? std::clamp(static_cast<float>(my) / (m.h - 1), 0.0f, 1.0f) : 0.0f;
            const Color fill = mix(s.top, s.bottom, t);
            c.set(x + mx, y + my, mix(s.outline, fill, ink), 1.0f);
        }
}

}  // namespace gen
