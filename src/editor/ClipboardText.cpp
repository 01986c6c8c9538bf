#include "editor/ClipboardText.h"

namespace ClipboardText {

bool ToBuffer(std::u16string_view text, std::string& bytes) {
    bytes.clear();
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == 0 || c == 0x7F || c > 0xFF) {
            bytes.clear();
            return false;
        }
        if (c == u'\n' && (i == 0 || text[i - 1] != u'\r')) {
            bytes += "\r\n";
        } else {
            bytes += static_cast<char>(static_cast<unsigned char>(c));
        }
    }
    return true;
}

} // namespace ClipboardText
