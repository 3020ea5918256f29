// SPDX-License-Identifier: MIT
// Reads the game's 6 x 11 digit glyphs and other known shapes out of a
// screenshot (binary PPM, as written by ImageMagick's `import ... ppm:FILE`).
//
//   screen_glyphs size PPM                       -> "WIDTHxHEIGHT"
//   screen_glyphs read PPM X Y STEP COUNT R G B  -> one character per cell at
//       X + STEP*k, Y: the digit drawn there in colour (R,G,B), '.' when no
//       pixel of the cell has that colour, '?' when it has but no digit fits
//   screen_glyphs scan PPM X0 X1 Y R G B         -> "x:digit" for every x in
//       X0..X1 where a digit in colour (R,G,B) stands at y = Y
//   screen_glyphs mask PPM X Y W H R G B         -> W*H characters, '1' where
//       the pixel has colour (R,G,B), '0' elsewhere (row by row)
//
// A pixel "has" a colour when every channel is within 12 of it. A digit fits
// a cell when all of its lit pixels have the colour and none of its unlit
// pixels do: the background under unlit pixels varies, so only that is used.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The digits 0 to 9, X marks a lit pixel.
const char* const kDigits[10][11] = {
    {"XXXXXX", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "XXXXXX"},
    {"XXXX..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "XXXXXX"},
    {"XXXXXX", ".....X", ".....X", ".....X", ".....X", "XXXXXX", "X.....", "X.....", "X.....", "X.....", "XXXXXX"},
    {"XXXXXX", ".....X", ".....X", ".....X", ".....X", "XXXXX.", ".....X", ".....X", ".....X", ".....X", "XXXXXX"},
    {"X.....", "X....X", "X....X", "X....X", "X....X", "X....X", "XXXXXX", ".....X", ".....X", ".....X", ".....X"},
    {".XXXXX", ".X....", ".X....", ".X....", ".X....", ".XXXXX", ".....X", ".....X", ".....X", "X....X", ".XXXXX"},
    {"XX....", "X.....", "X.....", "X.....", "X.....", "X.....", "XXXXXX", "X....X", "X....X", "X....X", "XXXXXX"},
    {"XXXXXX", ".....X", ".....X", ".....X", ".....X", "....X.", "..XX..", "..X...", "..X...", "..X...", "..X..."},
    {".XXXX.", ".X..X.", ".X..X.", ".X..X.", ".X..X.", "XXXXXX", "X....X", "X....X", "X....X", "X....X", "XXXXXX"},
    {"XXXXXX", "X....X", "X....X", "X....X", "XXXXXX", ".....X", ".....X", ".....X", ".....X", ".....X", "....XX"},
};
constexpr int kGlyphWidth = 6, kGlyphHeight = 11, kTolerance = 12;

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
};

[[noreturn]] void fail(const std::string& message) {
    std::cerr << "screen_glyphs: " << message << "\n";
    std::exit(2);
}

int readNumber(std::istream& in) {
    int c = in.get();
    while (c != EOF && (std::isspace(c) || c == '#')) {
        if (c == '#')
            while (c != EOF && c != '\n') c = in.get();
        c = in.get();
    }
    int value = 0;
    bool any = false;
    while (c != EOF && std::isdigit(c)) value = value * 10 + (c - '0'), any = true, c = in.get();
    if (!any) fail("bad PPM header");
    return value;  // the one blank after the number was consumed
}

Image load(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) fail(std::string("cannot open ") + path);
    char magic[2] = {};
    in.read(magic, 2);
    if (magic[0] != 'P' || magic[1] != '6') fail(std::string(path) + " is not a binary PPM");
    Image image;
    image.width = readNumber(in);
    image.height = readNumber(in);
    int maxval = readNumber(in);
    if (image.width <= 0 || image.height <= 0 || maxval <= 0 || maxval > 65535) fail("bad PPM header");
    size_t samples = size_t(image.width) * image.height * 3;
    int bytes = maxval > 255 ? 2 : 1;
    std::vector<unsigned char> raw(samples * bytes);
    in.read(reinterpret_cast<char*>(raw.data()), std::streamsize(raw.size()));
    if (size_t(in.gcount()) != raw.size()) fail(std::string(path) + " is truncated");
    image.rgb.resize(samples);
    for (size_t i = 0; i < samples; ++i) {
        int v = bytes == 2 ? raw[2 * i] << 8 | raw[2 * i + 1] : raw[i];
        image.rgb[i] = static_cast<unsigned char>((v * 255 + maxval / 2) / maxval);
    }
    return image;
}

struct Colour {
    int r, g, b;
};

bool has(const Image& image, int x, int y, Colour c) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) return false;
    const unsigned char* p = &image.rgb[(size_t(y) * image.width + x) * 3];
    return std::abs(p[0] - c.r) <= kTolerance && std::abs(p[1] - c.g) <= kTolerance &&
           std::abs(p[2] - c.b) <= kTolerance;
}

bool digitFits(const Image& image, int x, int y, Colour c, int digit) {
    for (int row = 0; row < kGlyphHeight; ++row)
        for (int col = 0; col < kGlyphWidth; ++col)
            if (has(image, x + col, y + row, c) != (kDigits[digit][row][col] == 'X')) return false;
    return true;
}

char readCell(const Image& image, int x, int y, Colour c) {
    for (int digit = 0; digit < 10; ++digit)
        if (digitFits(image, x, y, c, digit)) return char('0' + digit);
    for (int row = 0; row < kGlyphHeight; ++row)
        for (int col = 0; col < kGlyphWidth; ++col)
            if (has(image, x + col, y + row, c)) return '?';
    return '.';
}

int arg(char** argv, int i) {
    char* end = nullptr;
    long v = std::strtol(argv[i], &end, 10);
    if (end == argv[i] || *end) fail(std::string("not a number: ") + argv[i]);
    return int(v);
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "size" && argc == 3) {
        Image image = load(argv[2]);
        std::cout << image.width << "x" << image.height << "\n";
    } else if (command == "read" && argc == 10) {
        Image image = load(argv[2]);
        Colour c{arg(argv, 7), arg(argv, 8), arg(argv, 9)};
        std::string text;
        for (int k = 0; k < arg(argv, 6); ++k)
            text += readCell(image, arg(argv, 3) + arg(argv, 5) * k, arg(argv, 4), c);
        std::cout << text << "\n";
    } else if (command == "scan" && argc == 9) {
        Image image = load(argv[2]);
        Colour c{arg(argv, 6), arg(argv, 7), arg(argv, 8)};
        std::ostringstream out;
        for (int x = arg(argv, 3); x <= arg(argv, 4); ++x)
            for (int digit = 0; digit < 10; ++digit)
                if (digitFits(image, x, arg(argv, 5), c, digit)) out << (out.tellp() ? " " : "") << x << ":" << digit;
        std::cout << out.str() << "\n";
    } else if (command == "mask" && argc == 10) {
        Image image = load(argv[2]);
        Colour c{arg(argv, 7), arg(argv, 8), arg(argv, 9)};
        std::string mask;
        for (int row = 0; row < arg(argv, 6); ++row)
            for (int col = 0; col < arg(argv, 5); ++col)
                mask += has(image, arg(argv, 3) + col, arg(argv, 4) + row, c) ? '1' : '0';
        std::cout << mask << "\n";
    } else {
        fail("usage: size PPM | read PPM X Y STEP COUNT R G B | scan PPM X0 X1 Y R G B | mask PPM X Y W H R G B");
    }
    return 0;
}
