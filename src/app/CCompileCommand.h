#pragma once

#include "machine/CMyException.h"

#include <functional>
#include <string>

class CMyZorvanDoc;

// What the compile command does to a document when it opens the simulator, without the windows:
// assemble the file on disk into a freshly reset machine, let the caller open the simulator
// window, read the new line map back and rebuild the breakpoints from the source lines' marks.
class CCompileCommand {
public:
    static constexpr const char* InvalidBreakpointsMessage =
        "One or more invalid breakpoints have been removed";

    enum class Outcome {
        AlreadyOpen, // the simulator is open: nothing was done
        Failed,      // assembling (or opening the window) threw; the simulator stays closed
        Opened,
    };

    struct Result {
        Outcome outcome = Outcome::AlreadyOpen;
        CMyException error;         // why it failed (Outcome::Failed)
        std::string lineMapError;   // the ".debug" file could not be read; the opening goes on
        std::string lineMapInCache; // the source's folder may not be written, so the ".debug"
                                    // file went here, in the user's cache folder (shown with
                                    // LineMapInCacheText); empty when it is beside the source
        int removedBreakpoints = 0; // marks on lines without code, now cleared (shown with
                                    // InvalidBreakpointsMessage when above 0)
    };

    explicit CCompileCommand(CMyZorvanDoc& compiled) : document(compiled) {}

    // The status bar's word on a line map that went to the cache folder.
    static std::string LineMapInCacheText(const std::string& path);

    // The whole opening. `openWindow` builds and shows the simulator window, which sets the
    // document's simulatorOpen when it is ready; a CMyException from it fails the opening like
    // an assembler error.
    Result Open(const std::function<void()>& openWindow);

    // Clears the line map and the execution mark, resets the machine, assembles the document's
    // file and starts the machine at the program's start address. Throws the assembler's
    // CMyException.
    void AssembleIntoMachine();
    // Reads the ".debug" file of the last compile into the line map; the message of a failure,
    // or empty.
    std::string ReloadLineMap();
    // Rebuilds the breakpoint list from the breakpoint marks of the source lines; returns how
    // many marks were removed. The marks are the lasting form of the breakpoints: only a line map
    // that was read (`lineMapRead`) can show that a marked line has no code, and only then is its
    // mark removed. After a failed read every mark stays, for the next compile.
    int RebuildBreakpoints(bool lineMapRead = true);

private:
    CMyZorvanDoc& document;
};
