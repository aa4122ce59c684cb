#include "effects/tests/EffectTestSupport.h"

#include <cstring>
#include <sstream>

#include "effects/EffectTable.h"

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

TFrameResult::TFrameResult(int effect, int w, int h, int progress) : W(w), H(h) {
    Bitmap display = CodedPicture(w, h, DisplayTag);
    const Bitmap image = CodedPicture(w, h, ImageTag);
    Effects[effect].Proc(display, image, TRect{0, 0, w, h}, 5, progress);
    FRevealed.assign(std::size_t(w) * std::size_t(h), false);
    Clean = PaddingIntact(display);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t rgb = display.RgbAt(x, y);
            FRevealed[Index(x, y)] = rgb == Code(ImageTag, x, y);
            if (rgb != Code(ImageTag, x, y) && rgb != Code(DisplayTag, x, y)) Clean = false;
        }
    }
}

std::string TFrameResult::Differences(const Predicate& expected) const {
    int count = 0;
    std::ostringstream first;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            if (Revealed(x, y) == expected(x, y)) continue;
            if (++count <= 5) {
                first << " (" << x << "," << y << ")"
                      << (Revealed(x, y) ? " revealed" : " not revealed");
            }
        }
    }
    if (count == 0) return "";
    return std::to_string(count) + " pixels differ:" + first.str();
}

bool StaysInside(int effect, const Bitmap& outgoing, const Bitmap& image,
                 const std::vector<int>& progresses) {
    Bitmap display = outgoing;
    const int w = display.Width();
    const int h = display.Height();
    for (int p : progresses) Effects[effect].Proc(display, image, TRect{0, 0, w, h}, 5, p);
    if (!PaddingIntact(display)) return false;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t rgb = display.RgbAt(x, y);
            if (rgb != Code(ImageTag, x, y) && rgb != Code(DisplayTag, x, y)) return false;
        }
    }
    return true;
}

std::string SizeName(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }

}  // namespace velmora::test
