#pragma once

#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

class C8085Object;

// One breakpoint of a document: the memory byte it replaces while planted, whether it is
// enabled, and the 0-based source line it was made from (-1 when made from an address).
struct BreakpointEntry {
    std::uint16_t address = 0;
    std::uint8_t savedByte = 0;
    int enabled = 1;
    int sourceLine = -1;
};

// The breakpoints of a document, in the order they were added (look-ups take the first entry
// with an address). A breakpoint acts only while planted: PlantBreakpoints writes the breakpoint
// opcode 0x08 under every enabled entry and RestoreSavedBytes writes the saved bytes back.
//
// The list is shared by the user-interface thread and a run's worker thread, so every operation
// locks. While a run holds the memory (HoldMemoryForRun until RestoreSavedBytes), changes to the
// list touch the list only: the byte of an entry added meanwhile is read, and the byte under an
// entry removed meanwhile is written back, by RestoreSavedBytes once the machine has stopped.
// That keeps the user-interface thread out of the memory the worker executes, and a breakpoint
// removed during a run never leaves its 0x08 behind in the program.
class CBreakpointList {
public:
    static constexpr std::uint8_t BreakpointOpcode = 0x08;

    CBreakpointList() = default;
    CBreakpointList(const CBreakpointList&) = delete;
    CBreakpointList& operator=(const CBreakpointList&) = delete;
    virtual ~CBreakpointList() = default;

    // The machine whose memory the breakpoints patch.
    virtual C8085Object& GetMachine() = 0;

    // With captureBytes, first saves the byte now under every entry; then writes 0x08 under
    // every enabled entry. Planting twice without a restore in between restores first, so the
    // second capture never saves a 0x08 of our own.
    void PlantBreakpoints(bool captureBytes);
    // Writes every saved byte back when planted (nothing otherwise), then ends a run's hold.
    void RestoreSavedBytes();
    // From now until RestoreSavedBytes, changes to the list leave the memory alone.
    void HoldMemoryForRun();
    // While planted: the bytes RestoreSavedBytes would write back, by address; else nothing.
    std::vector<std::pair<std::uint16_t, std::uint8_t>> PlantedBytes() const;

    // Appends an entry whose saved byte is the byte now in memory at `address`.
    void AddBreakpoint(std::uint16_t address, int sourceLine, int enabled);
    // Removes the first entry with `address`, or adds an enabled one when there is none.
    void ToggleBreakpoint(std::uint16_t address, int sourceLine);
    bool RemoveBreakpoint(std::uint16_t address);
    bool HasBreakpoint(std::uint16_t address) const;
    bool IsBreakpointEnabled(std::uint16_t address) const;
    void SetBreakpointEnabled(std::uint16_t address, int value);
    void ClearBreakpoints();
    // A copy of the entries in list order, for the dialogs and the panes.
    std::vector<BreakpointEntry> GetBreakpoints() const;

    // The temporary breakpoint of Step Over and Run to Cursor: an enabled entry without source
    // line, removed by the number returned, so that a breakpoint of the user's standing at the
    // same address is never the one removed.
    int AddTemporaryBreakpoint(std::uint16_t address);
    bool RemoveTemporaryBreakpoint(int id);

private:
    struct Node {
        BreakpointEntry entry;
        int id = 0;
        bool captured = false; // savedByte holds the byte of the memory
    };
    using Nodes = std::vector<Node>;

    int AddLocked(std::uint16_t address, int sourceLine, int enabled);
    void RemoveLocked(Nodes::iterator node);
    Nodes::iterator FindLocked(std::uint16_t address);
    Nodes::const_iterator FindLocked(std::uint16_t address) const;
    std::uint8_t OriginalByteLocked(std::uint16_t address);
    void WriteBackLocked();

    mutable std::mutex mutex;
    Nodes nodes;
    std::vector<std::pair<std::uint16_t, std::uint8_t>> pendingRestores;
    bool planted = false;
    bool held = false;
    int nextId = 1;
};
