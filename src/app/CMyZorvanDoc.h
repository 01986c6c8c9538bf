#pragma once

#include "app/CDocTextBuffer.h"
#include "app/CDocumentBase.h"
#include "assembler/CParse.h"
#include "assembler/CdebugData.h"
#include "machine/C8085Object.h"
#include "simulator/CBreakpointList.h"
#include "simulator/CSimulatorFlags.h"

#include <string>

// One ".85" source file and everything built from it: its text, line map, assembler, machine,
// breakpoints and the state flags of its simulator. Two documents share nothing, so they can be
// compiled and simulated side by side. The document compiles nothing itself; the compile
// command (CCompileCommand) uses what it offers.
//
// Members are built in this order and destroyed in reverse: the document base, the breakpoint
// list, the text buffer, the line map, the assembler, the machine (the assembler is then attached
// to it) and the flags.
class CMyZorvanDoc : public CDocumentBase, public CBreakpointList {
public:
    CMyZorvanDoc();
    ~CMyZorvanDoc() override = default;

    C8085Object& GetMachine() override { return machine; }
    CParse& GetAssembler() { return assembler; }
    CDocTextBuffer& GetTextBuffer() { return textBuffer; }
    // Assembles the file at `path` (the file on disk, not the buffer) into the machine.
    void Assemble(const std::string& path) { assembler.Compile(path); }

    void SetSimulatorOpen(bool flag) { simulatorFlags.SetSimulatorOpen(flag); }
    bool IsSimulatorOpen() const { return simulatorFlags.IsSimulatorOpen(); }
    void SetRunInProgress(bool flag) { simulatorFlags.SetRunInProgress(flag); }
    bool IsRunInProgress() const { return simulatorFlags.IsRunInProgress(); }
    void SetExecuting(bool flag) { simulatorFlags.SetExecuting(flag); }
    bool IsExecuting() const { return simulatorFlags.IsExecuting(); }
    void ClearSimulatorFlags() { simulatorFlags.ClearSimulatorFlags(); }
    // For run control, which shares the flags with the worker thread.
    CSimulatorFlags& GetSimulatorFlags() { return simulatorFlags; }

protected:
    void DeleteContents() override;
    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    // Saves in the buffer's line-end style. Unlike a silent failure, a failed write reports
    // false (the caller shows a message); the file on disk and the modified state stay as they
    // were.
    bool OnSaveDocument(const std::string& path) override;
    // Refused while the simulator window is open.
    bool OnCloseDocument() override;

private:
    CDocTextBuffer textBuffer;

public:
    // The compile command clears it before compiling and reads the ".debug" file into it after.
    CdebugData lineMap;
    // The line map's place in the cache folder that the status bar has named: it is named once.
    std::string lineMapPlaceTold;

private:
    CParse assembler;
    C8085Object machine;
    CSimulatorFlags simulatorFlags;
};
