#pragma once

#include <string>
#include <string_view>

// Text crossing between the buffer and the desktop (clipboard, drag and drop).
namespace ClipboardText {

// Text coming in: LF and CR LF become CR LF, the buffer's line break; a lone CR stays a break.
// Characters the buffer cannot hold or a saved file could not give back (NUL, DEL, anything
// above 0xFF) refuse the whole text: false and `bytes` empty.
bool ToBuffer(std::u16string_view text, std::string& bytes);

} // namespace ClipboardText
