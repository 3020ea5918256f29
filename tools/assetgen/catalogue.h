#pragma once
// The list of sprite files the game embeds: number, format, size, painter.
#include <functional>
#include <vector>

#include "canvas.h"
#include "sources.h"

namespace gen {

enum class Format { Rgb, Rgba, Jpeg };

struct Entry {
    int number;
    Format format;
    int w, h;
    std::function<Canvas(const Sources&)> paint;
};

std::vector<Entry> catalogue();
std::string fileName(const Entry& e);  // sprite-NNN.png / .jpg

}  // namespace gen
