// Any bytes as a source file, then a run of edits at any positions (outside the text too):
// every file loads, and the loaded lines joined by the detected line end give the file back; every
// change is undone to exactly the text before it and redone to exactly the text after it; positions
// moved through the change descriptions stay inside the text.
#include "editor/BufferLines.h"
#include "editor/CTextBuffer.h"
#include "editor/CTextChange.h"
#include "editor/IndentRules.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string SourcePath() {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("zorvan-fuzz-text-" + std::to_string(::getpid()) + ".85"))
                                        .string();
    return path;
}

void RemoveFile() {
    std::remove(SourcePath().c_str());
}

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::vector<std::string> Snapshot(const CTextBuffer& buffer) {
    std::vector<std::string> lines;
    for (int line = 0; line < buffer.LineCount(); ++line) {
        lines.emplace_back(buffer.LineText(line),
                           static_cast<std::size_t>(buffer.LineLength(line)));
    }
    return lines;
}

// A view whose caret follows every change.
class FollowingView : public CTextBufferObserver {
public:
    void OnBufferChange(CTextBufferObserver*, const CTextChange* change, unsigned, int) override {
        if (change != nullptr) {
            caret = change->AdjustPosition(caret);
        }
    }
    CTextPosition caret;
};

bool Inside(const CTextBuffer& buffer, CTextPosition position) {
    return position.line >= 0 && position.line < buffer.LineCount() && position.charIndex >= 0 &&
           position.charIndex <= buffer.LineLength(position.line);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Built before the exit handler is registered, so that it is destroyed after it ran.
    SourcePath();
    std::atexit(RemoveFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int style = input.ConsumeIntegralInRange(LineEnd::Automatic, LineEnd::Count - 1);
    const std::string bytes = input.ConsumeRandomLengthString(4096);
    std::FILE* file = std::fopen(SourcePath().c_str(), "wb");
    Require(file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
            std::fclose(file) == 0);

    CTextBuffer buffer;
    Require(buffer.LoadText(SourcePath(), style));
    std::string joined;
    const std::vector<std::string> loaded = Snapshot(buffer);
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        joined += loaded[i];
        if (i + 1 < loaded.size()) {
            joined += LineEnd::Text(buffer.LineEndStyle());
        }
    }
    Require(joined == bytes);

    FollowingView view;
    buffer.AttachView(&view);
    std::vector<std::vector<std::string>> states = {Snapshot(buffer)};
    while (input.remaining_bytes() > 0 && states.size() < 64) {
        const int line = input.ConsumeIntegralInRange(-1, buffer.LineCount());
        const int character = input.ConsumeIntegralInRange(-1, 20);
        switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0: {
            const std::string text = input.ConsumeRandomLengthString(12);
            int endLine = 0;
            int endChar = 0;
            if (buffer.InsertChars(&view, line, character, text, endLine, endChar) &&
                !text.empty()) {
                Require(Inside(buffer, {endChar, endLine}));
                states.push_back(Snapshot(buffer));
            }
            break;
        }
        case 1: {
            const int endLine = input.ConsumeIntegralInRange(-1, buffer.LineCount());
            const int endChar = input.ConsumeIntegralInRange(-1, 20);
            const bool empty = line == endLine && character == endChar;
            if (buffer.DeleteRange(&view, line, character, endLine, endChar) && !empty) {
                states.push_back(Snapshot(buffer));
            }
            break;
        }
        case 2: {
            // A block indent or outdent; one that changes nothing records nothing.
            const int lastLine = input.ConsumeIntegralInRange(-1, buffer.LineCount());
            bool done = false;
            if (input.ConsumeBool()) {
                done = buffer.InsertAtLineStarts(&view, line, lastLine,
                                                 input.ConsumeRandomLengthString(4));
            } else if (line >= 0 && lastLine < buffer.LineCount() && line <= lastLine) {
                done = buffer.DeleteAtLineStarts(
                    &view, line,
                    IndentRules::OutdentLengths(BufferLines(&buffer), line, lastLine,
                                                input.ConsumeIntegralInRange(1, 8)));
            }
            if (done && Snapshot(buffer) != states.back()) {
                states.push_back(Snapshot(buffer));
            }
            break;
        }
        default: {
            const uint32_t flag = input.ConsumeIntegral<uint32_t>();
            buffer.ChangeLineFlag(line, flag, input.ConsumeBool(), input.ConsumeBool());
            const int next = buffer.NextBookmarkedLine(line);
            Require(next == -1 || (buffer.LineFlags(next) & CTextBuffer::LineFlagBookmark) != 0);
            break;
        }
        }
        Require(Snapshot(buffer) == states.back());
        Require(Inside(buffer, view.caret));
    }

    CTextPosition caret;
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        Require(buffer.Undo(caret) && Inside(buffer, caret));
        Require(Snapshot(buffer) == states[i - 1]);
    }
    Require(!buffer.CanUndo());
    for (std::size_t i = 1; i < states.size(); ++i) {
        Require(buffer.Redo(caret) && Inside(buffer, caret));
        Require(Snapshot(buffer) == states[i]);
    }
    Require(!buffer.CanRedo());
    return 0;
}
