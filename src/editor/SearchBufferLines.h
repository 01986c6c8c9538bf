#pragma once

#include "editor/CTextBuffer.h"
#include "editor/SearchLines.h"

// The lines of a text buffer, for searching it.
class SearchBufferLines final : public SearchLines {
public:
    explicit SearchBufferLines(const CTextBuffer& textBuffer) : buffer(textBuffer) {}

    int LineCount() const override { return buffer.LineCount(); }
    std::string_view LineText(int line) const override {
        return {buffer.LineText(line), static_cast<std::size_t>(buffer.LineLength(line))};
    }

private:
    const CTextBuffer& buffer;
};
