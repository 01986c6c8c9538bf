#pragma once

#include "simulator/CPaneRows.h"

#include <cstdint>
#include <optional>
#include <string>

class C8085Object;

// The editing rules of the panes: what Modify asks, how an answer is checked and stored, what the
// numeric-keypad + and - do, and which pane must follow an edit. They write the machine itself,
// so callers use them only while no run is in progress.
namespace PaneEdits {

// The value dialog of Modify on a Memory Dump or Registers row.
struct ValuePrompt {
    std::string prompt;
    std::string initial;
    int min = 0;
    int max = 0;
};

// Null for panes and rows that Modify does not prompt for (Flags toggle, the Instructions pane,
// rows beyond the selectable ones). A Ports row asks for the port's byte; a Stack row for the word
// at SP + 2 x row, stored little endian.
std::optional<ValuePrompt> ModifyPrompt(PaneKind kind, const C8085Object& machine, int row,
                                        std::uint16_t address);
// Stores an accepted answer of ModifyPrompt.
void StoreValue(PaneKind kind, C8085Object& machine, int row, std::uint16_t address, int value);
// Keypad + (delta 1) and - (delta -1): memory bytes, registers, ports and stack words wrap; a
// flag toggles. Answers whether anything was changed.
bool StepValue(PaneKind kind, C8085Object& machine, int row, std::uint16_t address, int delta);
// Modify on a Flags row: toggles the flag. Answers whether the row holds a flag.
bool ToggleFlag(C8085Object& machine, int row);

// The pane that must follow an edit of a Registers row: SP moves the Stack pane, IP the
// Instructions pane.
enum class FollowUp { None, Stack, Instructions };
FollowUp AfterRegisterEdit(int row);
// The memory address of a Stack row's word: SP + 2 x row.
std::uint16_t StackWordAddress(const C8085Object& machine, int row);

// Checks the text of a value dialog: the value, or the message of the "Error" box.
struct CheckedValue {
    std::optional<int> value;
    std::string error;
};
CheckedValue CheckValue(const std::string& text, int min, int max);

// Modify on the Instructions pane: the location and the instruction text offered.
struct InstructionPrompt {
    std::string location;
    std::string instruction;
};
InstructionPrompt InstructionEditPrompt(const C8085Object& machine, std::uint16_t address);

// Assembles `instruction` at `location` into the machine. Null on success, else the box to show.
struct EditError {
    std::string caption;
    std::string message;
};
std::optional<EditError> AssembleInstruction(C8085Object& machine, const std::string& location,
                                             const std::string& instruction);

} // namespace PaneEdits
