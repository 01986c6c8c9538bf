#include "simulator/CBreakpointList.h"

#include "machine/C8085Object.h"

#include <algorithm>

void CBreakpointList::PlantBreakpoints(bool captureBytes) {
    std::lock_guard lock(mutex);
    if (planted) {
        WriteBackLocked();
    }
    C8085Object& machine = GetMachine();
    if (captureBytes) {
        for (Node& node : nodes) {
            node.entry.savedByte = machine.memory[node.entry.address];
            node.captured = true;
        }
    }
    for (const Node& node : nodes) {
        if (node.entry.enabled != 0) {
            machine.memory[node.entry.address] = BreakpointOpcode;
            machine.lastWritten = node.entry.address;
        }
    }
    planted = true;
}

void CBreakpointList::RestoreSavedBytes() {
    std::lock_guard lock(mutex);
    if (planted) {
        WriteBackLocked();
    }
    if (held) {
        C8085Object& machine = GetMachine();
        for (Node& node : nodes) {
            if (!node.captured) {
                node.entry.savedByte = machine.memory[node.entry.address];
                node.captured = true;
            }
        }
        held = false;
    }
}

void CBreakpointList::HoldMemoryForRun() {
    std::lock_guard lock(mutex);
    held = true;
}

std::vector<std::pair<std::uint16_t, std::uint8_t>> CBreakpointList::PlantedBytes() const {
    std::lock_guard lock(mutex);
    std::vector<std::pair<std::uint16_t, std::uint8_t>> bytes;
    if (!planted) {
        return bytes;
    }
    for (const Node& node : nodes) {
        if (node.captured) {
            bytes.emplace_back(node.entry.address, node.entry.savedByte);
        }
    }
    bytes.insert(bytes.end(), pendingRestores.begin(), pendingRestores.end());
    return bytes;
}

void CBreakpointList::WriteBackLocked() {
    C8085Object& machine = GetMachine();
    for (const Node& node : nodes) {
        if (node.captured) {
            machine.memory[node.entry.address] = node.entry.savedByte;
            machine.lastWritten = node.entry.address;
        }
    }
    for (const auto& [address, savedByte] : pendingRestores) {
        machine.memory[address] = savedByte;
        machine.lastWritten = address;
    }
    pendingRestores.clear();
    planted = false;
}

void CBreakpointList::AddBreakpoint(std::uint16_t address, int sourceLine, int enabled) {
    std::lock_guard lock(mutex);
    AddLocked(address, sourceLine, enabled);
}

int CBreakpointList::AddTemporaryBreakpoint(std::uint16_t address) {
    std::lock_guard lock(mutex);
    return AddLocked(address, -1, 1);
}

int CBreakpointList::AddLocked(std::uint16_t address, int sourceLine, int enabled) {
    Node node;
    node.entry.address = address;
    node.entry.enabled = enabled;
    node.entry.sourceLine = sourceLine;
    node.id = nextId++;
    if (!held) {
        node.entry.savedByte = OriginalByteLocked(address);
        node.captured = true;
    }
    nodes.push_back(node);
    return node.id;
}

std::uint8_t CBreakpointList::OriginalByteLocked(std::uint16_t address) {
    // While planted the memory may hold our own 0x08 at the address; an entry already there
    // knows the byte it replaced.
    if (planted) {
        for (const Node& node : nodes) {
            if (node.captured && node.entry.address == address) {
                return node.entry.savedByte;
            }
        }
    }
    return GetMachine().memory[address];
}

void CBreakpointList::RemoveLocked(Nodes::iterator node) {
    if (planted && node->captured) {
        pendingRestores.emplace_back(node->entry.address, node->entry.savedByte);
    }
    nodes.erase(node);
}

void CBreakpointList::ToggleBreakpoint(std::uint16_t address, int sourceLine) {
    std::lock_guard lock(mutex);
    if (auto node = FindLocked(address); node != nodes.end()) {
        RemoveLocked(node);
    } else {
        AddLocked(address, sourceLine, 1);
    }
}

bool CBreakpointList::RemoveBreakpoint(std::uint16_t address) {
    std::lock_guard lock(mutex);
    auto node = FindLocked(address);
    if (node == nodes.end()) {
        return false;
    }
    RemoveLocked(node);
    return true;
}

bool CBreakpointList::RemoveTemporaryBreakpoint(int id) {
    std::lock_guard lock(mutex);
    auto node =
        std::find_if(nodes.begin(), nodes.end(), [id](const Node& n) { return n.id == id; });
    if (node == nodes.end()) {
        return false;
    }
    RemoveLocked(node);
    return true;
}

bool CBreakpointList::HasBreakpoint(std::uint16_t address) const {
    std::lock_guard lock(mutex);
    return FindLocked(address) != nodes.end();
}

bool CBreakpointList::IsBreakpointEnabled(std::uint16_t address) const {
    std::lock_guard lock(mutex);
    auto node = FindLocked(address);
    return node != nodes.end() && node->entry.enabled != 0;
}

void CBreakpointList::SetBreakpointEnabled(std::uint16_t address, int value) {
    std::lock_guard lock(mutex);
    if (auto node = FindLocked(address); node != nodes.end()) {
        node->entry.enabled = value;
    }
}

void CBreakpointList::ClearBreakpoints() {
    std::lock_guard lock(mutex);
    while (!nodes.empty()) {
        RemoveLocked(nodes.begin());
    }
}

std::vector<BreakpointEntry> CBreakpointList::GetBreakpoints() const {
    std::lock_guard lock(mutex);
    std::vector<BreakpointEntry> entries;
    entries.reserve(nodes.size());
    for (const Node& node : nodes) {
        entries.push_back(node.entry);
    }
    return entries;
}

CBreakpointList::Nodes::iterator CBreakpointList::FindLocked(std::uint16_t address) {
    return std::find_if(nodes.begin(), nodes.end(),
                        [address](const Node& n) { return n.entry.address == address; });
}

CBreakpointList::Nodes::const_iterator CBreakpointList::FindLocked(std::uint16_t address) const {
    return std::find_if(nodes.begin(), nodes.end(),
                        [address](const Node& n) { return n.entry.address == address; });
}
