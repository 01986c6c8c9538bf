#pragma once

#include "editor/CTextBuffer.h"
#include "editor/TextLines.h"

// The lines of a text buffer for the caret rules; one empty line without a buffer.
class BufferLines : public TextLines {
public:
    explicit BufferLines(const CTextBuffer* textBuffer) : buffer(textBuffer) {}

    int Count() const override {
        return buffer != nullptr && buffer->LineCount() > 0 ? buffer->LineCount() : 1;
    }
    std::string_view Line(int line) const override {
        if (buffer == nullptr || line < 0 || line >= buffer->LineCount()) {
            return {};
        }
        return {buffer->LineText(line), static_cast<std::size_t>(buffer->LineLength(line))};
    }

private:
    const CTextBuffer* buffer;
};
