// SPDX-License-Identifier: MIT
// Text pictures: captions, title tips, points labels, the status-bar
// caption strip; also plain pixel-art sprites.
#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>

#include "game/screens/title_tips.h"
#include "painters.h"
#include "text.h"

namespace gen {

namespace {

// Most pixels a tip with an icon may leave empty at its picture's left edge.
constexpr int kIconTipSlack = 8;
// The middle of the game's 1020-pixel-wide screen.
constexpr int kScreenCentre = 510;

TextStyle styleNamed(const Sources& s, const std::string& name) {
    const RecipeLine& r = s.recipe("style", name);
    TextStyle st;
    st.top = r.colour("top");
    st.bottom = r.colour("bottom");
    st.outline = r.colour("outline");
    st.outlineRadius = r.values.count("radius") ? r.number("radius") : 1.0f;
    st.shadow = r.values.count("shadow") ? r.number("shadow") : 0.0f;
    st.tracking = r.values.count("tracking") ? r.number("tracking") : 0.0f;
    return st;
}

// "first-word rest of the line" split.
std::pair<std::string, std::string> headAndTail(const std::string& line) {
    std::istringstream in(line);
    std::string head, tail;
    in >> head;
    std::getline(in, tail);
    const size_t start = tail.find_first_not_of(' ');
    return {head, start == std::string::npos ? "" : tail.substr(start)};
}

int margin(const TextStyle& st) { return static_cast<int>(std::ceil(st.outlineRadius)) + static_cast<int>(st.shadow); }

// Fits the text into the picture, leaving room for the outline; left or centred.
Canvas textPicture(const Sources& s, const std::string& text, const TextStyle& st, int w, int h, float maxPx,
                   bool centred, bool bold = true) {
    const int m = margin(st);
    const int pad = static_cast<int>(std::ceil(st.outlineRadius));
    const Mask mask = fitText(bold ? s.sansBold() : s.sans(), text, w - pad - m, h - pad - m, maxPx, st.tracking);
    Canvas c(w, h);
    const int x = centred ? pad + (w - pad - m - mask.w) / 2 : pad;
    const int y = pad + (h - pad - m - mask.h) / 2;
    paintText(c, mask, x, y, st);
    return c;
}

}  // namespace

Canvas paintCaption(const Sources& s, int number, int w, int h) {
    const auto [style, text] = headAndTail(s.recipe("caption", std::to_string(number)).rest);
    return textPicture(s, text, styleNamed(s, style), w, h, 40.0f, true);
}

Canvas paintTip(const Sources& s, int tip, int w, int h) {
    const std::string id = std::to_string(tip);
    const std::string text = s.recipe("tip", id).rest;
    // Every tip uses one size so the rotating line looks the same; a tip may
    // name its own look (the welcome does).
    std::string look = "tip";
    for (const RecipeLine* r : s.all("tiplook"))
        if (r->id == id) look = r->text("style");
    const RecipeLine& lookLine = s.recipe("style", look);
    const TextStyle st = styleNamed(s, look);
    const float size = lookLine.number("size");
    const int pad = static_cast<int>(std::ceil(st.outlineRadius)), m = margin(st);
    const Mask mask = trim(renderText(s.sansBold(), text, static_cast<int>(size * 64), st.tracking));
    if (mask.w > w - pad - m || mask.h > h - pad - m)
        throw std::runtime_error("tip " + id + " needs " + std::to_string(mask.w + pad + m) + "x" +
                                 std::to_string(mask.h + pad + m) + " pixels; shorten its text");
    // The game draws a tip's icon just left of its picture, which ends as far
    // right of the screen's centre as the icon starts left of it. So the text
    // ends at the picture's right edge and must fill the picture nearly to
    // its left edge: then icon and text are one centred line.
    const bool hasIcon = (tip >= 8 && tip <= 17) || tip == 50;
    const int slack = w - pad - m - mask.w;
    if (hasIcon && slack > kIconTipSlack)
        throw std::runtime_error("tip " + id + " leaves " + std::to_string(slack) +
                                 " pixels between its icon and its text; lengthen its text");
    // A tip without an icon stands centred on the screen: its text is placed
    // in the picture so that its middle falls on the screen's middle, as far
    // as the picture's fixed size allows.
    const game::Tip* placed = game::findTip(tip);
    const int centred = kScreenCentre - placed->x - mask.w / 2;
    const int x = hasIcon ? pad + slack : std::clamp(centred, pad, pad + slack);
    // The baseline sits at the same height in every tip, whatever the letters.
    const int capHeight = static_cast<int>(std::lround(size * 0.73f));
    const int baseline = (h - m + pad + capHeight) / 2;
    const int y = std::clamp(baseline - mask.baseline, pad, h - m - mask.h);
    Canvas c(w, h);
    paintText(c, mask, x, y, st);
    return c;
}

Canvas paintPointsLabel(const Sources& s, int number, int w, int h) {
    const std::string text = s.recipe("label", std::to_string(number)).rest;
    return textPicture(s, text, styleNamed(s, "label"), w, h, 12.0f, true);
}

Canvas paintHudStrip(const Sources& s, int w, int h) {
    const TextStyle st = styleNamed(s, "hud");
    Canvas c(w, h);
    for (const RecipeLine* r : s.all("hud")) {
        std::string word = r->id;
        std::replace(word.begin(), word.end(), '_', ' ');
        const Mask m = fitText(s.sansBold(), word, 400, h - 2, 12.0f, 0.6f);
        // The x in the source is the centre on the screen; the strip starts at screen x 42.
        const int centre = static_cast<int>(r->number("x")) - 42;
        paintText(c, m, centre - m.w / 2, (h - m.h) / 2, st);
    }
    return c;
}

Canvas pixelSprite(const Sources& s, const std::string& name, int w, int h) {
    const Canvas& c = s.art.get(name);
    if (c.w != w || c.h != h)
        throw std::runtime_error(name + " is " + std::to_string(c.w) + "x" + std::to_string(c.h) + ", needs " +
                                 std::to_string(w) + "x" + std::to_string(h));
    return c;
}

}  // namespace gen
