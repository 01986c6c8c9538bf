#pragma once

#include <string>

class C8085Object;
class CBreakpointList;
class CdebugData;
class CSimulatorFlags;
class SourceViewServices;

// What a simulator window and its panes work on: one document's machine, breakpoints, flags and
// line map, and the source view that opened the window. Copied when the window is built; it owns
// nothing. `sourceView` may be null (no receiver: the call is skipped).
struct CSimContext {
    C8085Object* machine = nullptr;
    CBreakpointList* breakpoints = nullptr;
    CSimulatorFlags* flags = nullptr;
    CdebugData* lineMap = nullptr;
    SourceViewServices* sourceView = nullptr;
    // The document's title, shown in the captions.
    std::string title;
};
