#include "simulator/BreakpointsDialogModel.h"

#include "simulator/SourceViewServices.h"

#include <cstdio>

BreakpointsDialogModel::BreakpointsDialogModel(
    const std::vector<BreakpointEntry>& entries,
    const std::function<std::string(std::uint16_t)>& instructionText) {
    items.reserve(entries.size());
    for (const BreakpointEntry& entry : entries) {
        const bool enabled = entry.enabled != 0;
        items.push_back(
            {entry.address, ItemText(entry, instructionText(entry.address)), enabled, enabled});
    }
}

std::string BreakpointsDialogModel::ItemText(const BreakpointEntry& entry,
                                             std::string_view instruction) {
    char head[8];
    std::snprintf(head, sizeof head, "0x%04x ", static_cast<unsigned>(entry.address));
    std::string text = head;
    if (entry.sourceLine == -1) {
        return text.append(instruction);
    }
    text.append(instruction.substr(0, 10));
    return text.append(",  at Line ").append(std::to_string(entry.sourceLine + 1));
}

void BreakpointsDialogModel::SetChecked(int index, bool checked) {
    if (index >= 0 && index < static_cast<int>(items.size())) {
        items[static_cast<std::size_t>(index)].checked = checked;
    }
}

int BreakpointsDialogModel::Remove(int index) {
    if (index < 0 || index >= static_cast<int>(items.size())) {
        return -1;
    }
    removed.push_back(items[static_cast<std::size_t>(index)].address);
    items.erase(items.begin() + index);
    if (items.empty()) {
        return -1;
    }
    return std::min(index, static_cast<int>(items.size()) - 1);
}

void BreakpointsDialogModel::RemoveAll() {
    for (const Item& item : items) {
        removed.push_back(item.address);
    }
    items.clear();
}

void BreakpointsDialogModel::Apply(SourceViewServices& view) const {
    for (const std::uint16_t address : removed) {
        view.ToggleBreakpointAt(address);
    }
    for (const Item& item : items) {
        if (item.checked != item.enabledBefore) {
            view.EnableDisableBreakpointAt(item.address);
        }
    }
}
