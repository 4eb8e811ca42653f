#include "companions/kdmlib/core/SamplePages.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace mh {
namespace {

// A small deterministic generator, so pages are identical on every platform and compiler.
class Lcg {
public:
    explicit Lcg(uint32_t seed) : state_(seed * 2654435761u + 1) {}
    uint32_t Next(uint32_t bound) {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>((state_ >> 33) % bound);
    }

private:
    uint64_t state_;
};

// A page of grey levels (0 black .. 255 white, from `grey(x, y)`) dithered by Floyd-Steinberg, the errors in
// sixteenths carried in two rows.
template <typename GreyFn>
BilevelImage Dithered(uint32_t rows, const GreyFn& grey) {
    BilevelImage page(kA4Width, rows);
    std::vector<int> error(kA4Width + 2, 0), next(kA4Width + 2, 0);
    for (uint32_t y = 0; y < rows; ++y) {
        std::fill(next.begin(), next.end(), 0);
        for (uint32_t x = 0; x < kA4Width; ++x) {
            const int wanted = grey(x, y) + error[x + 1] / 16;
            const int shown = wanted < 128 ? 0 : 255;
            if (shown == 0) {
                page.SetBlack(x, y);
            }
            const int e = wanted - shown;
            error[x + 2] += 7 * e;
            next[x] += 3 * e;
            next[x + 1] += 5 * e;
            next[x + 2] += e;
        }
        error.swap(next);
    }
    return page;
}

void FillRect(BilevelImage& page, uint32_t x0, uint32_t y0, uint32_t w, uint32_t h) {
    const uint32_t x1 = std::min(page.width, x0 + w);
    const uint32_t y1 = std::min(page.height, y0 + h);
    for (uint32_t y = y0; y < y1; ++y) {
        for (uint32_t x = x0; x < x1; ++x) {
            page.SetBlack(x, y);
        }
    }
}

// One glyph: a few strokes inside a cell, like the stems, bars and bowls of letters.
void DrawGlyph(BilevelImage& page,
               Lcg& random,
               uint32_t x,
               uint32_t y,
               uint32_t cellWidth,
               uint32_t cellHeight,
               uint32_t stroke) {
    const uint32_t strokes = 2 + random.Next(3);
    for (uint32_t i = 0; i < strokes; ++i) {
        if (random.Next(2) == 0) {
            const uint32_t sx = x + random.Next(cellWidth - stroke);
            const uint32_t sy = y + random.Next(cellHeight / 3);
            FillRect(page, sx, sy, stroke, cellHeight - (sy - y) - random.Next(cellHeight / 4));
        } else {
            const uint32_t sy = y + random.Next(cellHeight - stroke);
            const uint32_t sx = x + random.Next(cellWidth / 3);
            FillRect(page, sx, sy, cellWidth - (sx - x) - random.Next(cellWidth / 4), stroke);
        }
    }
}

void DrawTextLine(BilevelImage& page, Lcg& random, uint32_t left, uint32_t right, uint32_t top, uint32_t glyphHeight) {
    const uint32_t cellWidth = 18;
    const uint32_t stroke = std::max<uint32_t>(2, glyphHeight / 10);
    uint32_t x = left;
    while (x + cellWidth <= right) {
        const uint32_t letters = 2 + random.Next(8);
        for (uint32_t i = 0; i < letters && x + cellWidth <= right; ++i) {
            DrawGlyph(page, random, x, top, cellWidth - 4, glyphHeight, stroke);
            x += cellWidth;
        }
        x += cellWidth;
    }
}

}  // namespace

BilevelImage TypedLetterPage(uint32_t rows) {
    BilevelImage page(kA4Width, rows);
    Lcg random(1);
    const double scale = rows / static_cast<double>(kA4FineRows);
    const uint32_t pitch = static_cast<uint32_t>(40 * scale);
    const uint32_t glyphHeight = static_cast<uint32_t>(26 * scale);
    uint32_t top = static_cast<uint32_t>(160 * scale);
    for (int line = 0; line < 50; ++line) {
        // Short last lines of paragraphs, and a blank line between paragraphs.
        const uint32_t right = line % 8 == 7 ? 700 + random.Next(600) : 1560;
        DrawTextLine(page, random, 160, right, top, glyphHeight);
        top += line % 8 == 7 ? 2 * pitch : pitch;
    }
    return page;
}

BilevelImage CoverPage(uint32_t rows) {
    BilevelImage page(kA4Width, rows);
    Lcg random(2);
    const double scale = rows / static_cast<double>(kA4FineRows);
    const uint32_t frameTop = static_cast<uint32_t>(120 * scale);
    const uint32_t frameHeight = static_cast<uint32_t>(2000 * scale);
    FillRect(page, 120, frameTop, 1488, 6);
    FillRect(page, 120, frameTop + frameHeight, 1488, 6);
    FillRect(page, 120, frameTop, 6, frameHeight);
    FillRect(page, 1602, frameTop, 6, frameHeight);
    FillRect(page, 200, static_cast<uint32_t>(220 * scale), 900, static_cast<uint32_t>(70 * scale));
    for (int line = 0; line < 6; ++line) {
        DrawTextLine(page, random, 220, 1000, static_cast<uint32_t>((420 + 60 * line) * scale),
                     static_cast<uint32_t>(26 * scale));
    }
    return page;
}

BilevelImage FormPage(uint32_t rows) {
    BilevelImage page(kA4Width, rows);
    Lcg random(3);
    const auto at = [&](uint32_t fineRow) { return static_cast<uint32_t>(fineRow * (rows / double(kA4FineRows))); };
    const uint32_t glyphHeight = std::max<uint32_t>(8, at(26));
    DrawTextLine(page, random, 160, 900, at(160), std::max<uint32_t>(10, at(40)));
    // The table: rules three pixels thick, a heading row, then the entries.
    const uint32_t left = 160, right = 1568, top = at(320), rowHeight = at(90);
    const uint32_t columns[] = {160, 700, 1000, 1250, 1568};
    for (uint32_t row = 0; row <= 8; ++row)
        FillRect(page, left, top + row * rowHeight, right - left + 3, 3);
    for (uint32_t x : columns)
        FillRect(page, x, top, 3, 8 * rowHeight + 3);
    for (uint32_t row = 0; row < 8; ++row) {
        const uint32_t filled = row == 0 ? 4 : 1 + random.Next(4);
        for (uint32_t column = 0; column < filled; ++column)
            DrawTextLine(page, random, columns[column] + 20, columns[column + 1] - 20,
                         top + row * rowHeight + (rowHeight - glyphHeight) / 2, glyphHeight);
    }
    // Tick boxes, every other one ticked, and the line to sign on.
    const uint32_t boxes = top + 8 * rowHeight + at(120);
    for (uint32_t i = 0; i < 4; ++i) {
        const uint32_t x = 160 + i * 350, size = std::max<uint32_t>(8, at(36));
        FillRect(page, x, boxes, size, 3);
        FillRect(page, x, boxes + size, size + 3, 3);
        FillRect(page, x, boxes, 3, size);
        FillRect(page, x + size, boxes, 3, size);
        if (i % 2 == 0)
            FillRect(page, x + 8, boxes + size / 3, size - 13, size / 3);
        DrawTextLine(page, random, x + size + 20, x + 320, boxes, glyphHeight);
    }
    FillRect(page, 1000, boxes + at(260), 560, 3);
    return page;
}

BilevelImage HalftonePage(uint32_t rows) {
    return Dithered(rows, [](uint32_t x, uint32_t y) {
        const double grey = 0.5 + 0.3 * std::sin(x / 97.0) * std::cos(y / 131.0) + 0.1 * std::sin((x + y) / 23.0);
        return static_cast<int>(grey * 255);
    });
}

namespace {
// A smooth wave of period 1024, from -256 to 256: two parabolas.
int Wave(int phase) {
    const int p = (phase % 1024 + 1024) % 1024;
    const int half = p % 512;
    const int v = half * (512 - half) / 256;
    return p < 512 ? v : -v;
}

// The landscape of the photograph sheet, in grey levels 0 (black) .. 255, at fine resolution's coordinates.
class Landscape {
public:
    Landscape() : farRidge_(kA4Width), nearRidge_(kA4Width) {
        for (int x = 0; x < static_cast<int>(kA4Width); ++x) {
            farRidge_[x] = kHorizon - 300 - Wave(x * 1024 / 700) * 110 / 256 - Wave(x * 1024 / 230 + 300) * 45 / 256;
            nearRidge_[x] = kHorizon - 120 - Wave(x * 1024 / 900 + 700) * 70 / 256 - Wave(x * 1024 / 170) * 20 / 256;
        }
    }

    int Grey(int x, int y) const {
        if (x < kLeft || x >= kRight || y < kTop || y >= kBottom)
            return 255;  // the paper around the photograph
        if (x < kLeft + 6 || x >= kRight - 6 || y < kTop + 6 || y >= kBottom - 6)
            return 0;  // its edge
        if (const int tree = Tree(x, y); tree >= 0)
            return tree;
        if (y > kBank + (x - kLeft) * (x - kLeft) / 900)
            return 60 + Wave(x * 37 + y * 53) * 12 / 256;  // the near shore
        if (y >= kHorizon)
            return Lake(x, y);
        if (y >= nearRidge_[x])
            return 85 + Wave(x * 29 + y * 41) * 10 / 256;
        if (y >= farRidge_[x])
            return 128 + (y - farRidge_[x]) / 10;
        return Sky(x, y);
    }

private:
    static constexpr int kLeft = 144, kRight = 1584, kTop = 260, kBottom = 1700;
    static constexpr int kHorizon = 1180, kBank = 1400, kSunX = 1180, kSunY = 540;

    static int Sky(int x, int y) {
        int grey = 160 + 80 * (y - kTop) / (kHorizon - kTop);
        const int sun = (x - kSunX) * (x - kSunX) + (y - kSunY) * (y - kSunY);
        if (sun < 90 * 90)
            return 252;
        if (sun < 200 * 200)
            grey += (200 * 200 - sun) * 50 / (200 * 200 - 90 * 90);
        grey += Cloud(x, y, 520, 470, 230, 50) + Cloud(x, y, 800, 590, 170, 38) + Cloud(x, y, 330, 640, 120, 30);
        return std::min(grey, 248);
    }

    // Lighter inside an ellipse, most at its middle.
    static int Cloud(int x, int y, int cx, int cy, int rx, int ry) {
        const int64_t dx = x - cx, dy = y - cy;
        const int64_t inside = 1024 - (dx * dx * 1024 / (rx * rx) + dy * dy * 1024 / (ry * ry));
        return inside > 0 ? static_cast<int>(inside * 45 / 1024) : 0;
    }

    static int Lake(int x, int y) {
        const int depth = y - kHorizon;
        int grey = 175 - 70 * depth / (kBottom - kHorizon);
        grey += Wave(y * 1024 / 9 + Wave(x * 1024 / 310) * 2) * 16 / 256;
        // The sun's path on the water, broken by the ripples.
        if (std::abs(x - kSunX) < 70 - depth / 12 && Wave(y * 1024 / 13 + x * 9) > 60)
            grey = 240;
        return grey;
    }

    // A pine on the near shore: a trunk and five layers of boughs; -1 where it is not.
    static int Tree(int x, int y) {
        constexpr int kTreeX = 380, kFoot = 1480;
        if (std::abs(x - kTreeX) <= 9 && y >= 1420 && y < kFoot)
            return 35;
        for (int layer = 0; layer < 5; ++layer) {
            const int apex = 860 + layer * 100, height = 190, spread = 55 + layer * 22;
            if (y >= apex && y < apex + height && std::abs(x - kTreeX) * height <= (y - apex) * spread)
                return 22 + Wave(x * 61 + y * 17) * 12 / 256;
        }
        return -1;
    }

    std::vector<int> farRidge_;
    std::vector<int> nearRidge_;
};
}  // namespace

BilevelImage PhotographPage(uint32_t rows) {
    const Landscape landscape;
    return Dithered(rows, [&landscape, rows](uint32_t x, uint32_t y) {
        return landscape.Grey(static_cast<int>(x), static_cast<int>(uint64_t{y} * kA4FineRows / rows));
    });
}

BilevelImage RandomPage(uint32_t width, uint32_t rows, unsigned blackPercent, uint32_t seed) {
    BilevelImage page(width, rows);
    Lcg random(seed);
    for (uint32_t y = 0; y < rows; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            if (random.Next(100) < blackPercent) {
                page.SetBlack(x, y);
            }
        }
    }
    return page;
}

}  // namespace mh
