#pragma once
// A small little-endian TIFF packer for tests that need directories the tools do not write:
// a missing tag, a chain of many images.

#include <cstdint>
#include <map>
#include <vector>

namespace velmora::test {

struct TTiffPage {
    /// tag -> (type, values); SHORT (3) or LONG (4). StripOffsets is filled in by Pack.
    std::map<std::uint16_t, std::pair<std::uint16_t, std::vector<std::uint32_t>>> Tags;
    std::vector<std::uint8_t> Pixels;
};

/// A w x h 8-bit grey page (BlackIsZero) whose samples are all `value`.
inline TTiffPage GreyPage(int w, int h, std::uint8_t value) {
    TTiffPage page;
    page.Tags[256] = {3, {std::uint32_t(w)}};
    page.Tags[257] = {3, {std::uint32_t(h)}};
    page.Tags[258] = {3, {8}};
    page.Tags[259] = {3, {1}};
    page.Tags[262] = {3, {1}};
    page.Tags[278] = {3, {std::uint32_t(h)}};
    page.Tags[279] = {4, {std::uint32_t(w * h)}};
    page.Tags[273] = {4, {0}};
    page.Pixels.assign(std::size_t(w * h), value);
    return page;
}

/// Packs the pages as one chained little-endian file.
inline std::vector<std::uint8_t> PackTiff(const std::vector<TTiffPage>& pages) {
    std::vector<std::uint8_t> out = {'I', 'I', 42, 0, 0, 0, 0, 0};
    auto put16 = [&](std::size_t at, std::uint32_t v) {
        out[at] = std::uint8_t(v);
        out[at + 1] = std::uint8_t(v >> 8);
    };
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + i] = std::uint8_t(v >> (8 * i));
    };
    std::size_t linkAt = 4;
    for (const TTiffPage& page : pages) {
        const std::size_t pixelsAt = out.size();
        out.insert(out.end(), page.Pixels.begin(), page.Pixels.end());
        if (out.size() % 2) out.push_back(0);
        const std::size_t ifd = out.size();
        put32(linkAt, std::uint32_t(ifd));
        out.resize(ifd + 2 + 12 * page.Tags.size() + 4, 0);
        put16(ifd, std::uint32_t(page.Tags.size()));
        std::size_t at = ifd + 2;
        for (const auto& [tag, typed] : page.Tags) {
            const auto& [type, values] = typed;
            put16(at, tag);
            put16(at + 2, type);
            put32(at + 4, std::uint32_t(values.size()));
            const std::size_t size = type == 3 ? 2 : 4;
            std::size_t valuesAt = at + 8;
            if (values.size() * size > 4) {
                valuesAt = out.size();
                put32(at + 8, std::uint32_t(valuesAt));
                out.resize(out.size() + values.size() * size, 0);
            }
            for (std::size_t i = 0; i < values.size(); ++i) {
                const std::uint32_t v = tag == 273 ? std::uint32_t(pixelsAt) : values[i];
                if (size == 2)
                    put16(valuesAt + 2 * i, v);
                else
                    put32(valuesAt + 4 * i, v);
            }
            at += 12;
        }
        linkAt = at;
    }
    return out;
}

}  // namespace velmora::test
