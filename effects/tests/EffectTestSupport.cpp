#include "effects/tests/EffectTestSupport.h"

#include <cstring>

namespace velmora::test {

Bitmap CodedPicture(int width, int height, std::uint32_t tag) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) b.SetRgb(x, y, Code(tag, x, y));
        std::memset(b.Row(y) + 3 * width, 0xA5, std::size_t(b.Stride() - 3 * width));
    }
    return b;
}

bool PaddingIntact(const Bitmap& bitmap) {
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int i = 3 * bitmap.Width(); i < bitmap.Stride(); ++i) {
            if (bitmap.Row(y)[i] != 0xA5) return false;
        }
    }
    return true;
}

std::vector<std::string> Ascii(const Region& region, int width, int height) {
    std::vector<std::string> rows(std::size_t(height), std::string(std::size_t(width), '.'));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (region.Contains(x, y)) rows[std::size_t(y)][std::size_t(x)] = '#';
        }
    }
    return rows;
}

Bitmap FromLetters(const std::vector<std::string>& rows) {
    Bitmap b(rows.empty() ? 0 : int(rows[0].size()), int(rows.size()));
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) b.SetRgb(x, y, std::uint8_t(rows[y][x]));
    }
    return b;
}

std::vector<std::string> ToLetters(const Bitmap& bitmap) {
    std::vector<std::string> rows;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::string row;
        for (int x = 0; x < bitmap.Width(); ++x) row += char(bitmap.RgbAt(x, y) & 0xFF);
        rows.push_back(row);
    }
    return rows;
}

}  // namespace velmora::test
