#include "cli/TerminalText.h"

namespace velmora::cli {

std::string Visible(const std::string& text) {
    static const char* hex = "0123456789abcdef";
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        const bool c1 = b == 0xC2 && i + 1 < text.size() &&
                        static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if (b < 0x20 || b == 0x7F) {
            shown += "\\x";
            shown += hex[b >> 4];
            shown += hex[b & 0xF];
        } else if (c1) {
            const auto c = static_cast<unsigned char>(text[++i]);
            shown += "\\u00";
            shown += hex[c >> 4];
            shown += hex[c & 0xF];
        } else {
            shown += char(b);
        }
    }
    return shown;
}

}  // namespace velmora::cli
