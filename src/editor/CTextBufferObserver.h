#pragma once

#include <string>

class CTextChange;

// What the text buffer needs of a view attached to it.
class CTextBufferObserver {
public:
    // Bits of the notice passed to OnBufferChange.
    static constexpr unsigned UpdateLineWidths = 0x0001; // the longest line may have changed
    static constexpr unsigned UpdateLineCount = 0x0002;  // lines came or went at and after `line`
    // The lines from `line` to the change's end line changed; none came or went.
    static constexpr unsigned UpdateLineRange = 0x0004;
    static constexpr unsigned UpdateOneLine = 0x0100;   // only `line` changed
    static constexpr unsigned UpdateMarksOnly = 0x0200; // only the flag word of `line` changed
    static constexpr unsigned UpdateAll = 0x1000;       // everything changed; `line` is -1

    virtual ~CTextBufferObserver() = default;

    // `sourceView` is the view that made the change (none for undo, redo and loading); `change`,
    // when given, moves positions through the change.
    virtual void OnBufferChange(CTextBufferObserver* sourceView, const CTextChange* change,
                                unsigned notice, int line) = 0;

    // An undo group closed; `action` and `text` are those of its last change.
    virtual void OnEditDone(int /*action*/, const std::string& /*text*/) {}
};
