// SPDX-License-Identifier: MIT
#include "sources.h"

#include <sstream>
#include <stdexcept>

#include "pixelart.h"

namespace gen {

namespace {

const char* const kPixelArtFiles[] = {"girl.txt", "glyphs.txt", "icons.txt", nullptr};
const char* const kRecipeFiles[] = {"backgrounds.txt", "objects.txt", "captions.txt", "tips.txt", nullptr};
[[noreturn]] void bad(const RecipeLine& l, const std::string& why) {
    throw std::runtime_error(l.file + ":" + std::to_string(l.line) + ": " + why);
}
}  // namespace

std::string RecipeLine::text(const std::string& key) const {
    auto it = values.find(key);
    if (it == values.end()) bad(*this, "missing " + key + "=");
    return it->second;
}

float RecipeLine::number(const std::string& key) const {
    const std::string v = text(key);
    try {
        return std::stof(v);
    } catch (const std::exception&) {
        bad(*this, key + " is not a number");
    }
}

Color RecipeLine::colour(const std::string& key) const {
    int r, g, b;
    char c1, c2;
    std::istringstream in(text(key));
    if (!(in >> r >> c1 >> g >> c2 >> b) || c1 != ',' || c2 != ',') bad(*this, key + " is not r,g,b");
    return rgb(r, g, b);
}

void Sources::load() {
    for (const char* const* f = kPixelArtFiles; *f; ++f) art.load(pictureDir + "/" + *f);
    for (const char* const* f = kRecipeFiles; *f; ++f) {
        std::istringstream in(readTextFile(pictureDir + "/" + *f));
        std::string line;
        int n = 0;
        while (std::getline(in, line)) {
            ++n;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty() || line[0] == '#') continue;
            RecipeLine r;
            r.file = *f;
            r.line = n;
            std::istringstream words(line);
            words >> r.kind >> r.id;
            std::getline(words, r.rest);
            const size_t start = r.rest.find_first_not_of(' ');
            r.rest = start == std::string::npos ? "" : r.rest.substr(start);
            std::istringstream kv(r.rest);
            std::string word;
            while (kv >> word) {
                const size_t eq = word.find('=');
                if (eq != std::string::npos) r.values[word.substr(0, eq)] = word.substr(eq + 1);
            }
            recipes.push_back(std::move(r));
        }
    }
}

const RecipeLine& Sources::recipe(const std::string& kind, const std::string& id) const {
    for (const RecipeLine& r : recipes)
        if (r.kind == kind && r.id == id) return r;
    throw std::runtime_error("no recipe '" + kind + " " + id + "'");
}

std::vector<const RecipeLine*> Sources::all(const std::string& kind) const {
    std::vector<const RecipeLine*> out;
    for (const RecipeLine& r : recipes)
        if (r.kind == kind) out.push_back(&r);
    return out;
}

}  // namespace gen
