#include "simulator/BreakpointsDialogModel.h"

#include "simulator/SourceViewServices.h"

#include <algorithm>
#include <cstdio>

BreakpointsDialogModel::BreakpointsDialogModel(
    const std::vector<BreakpointEntry>& entries,
    const std::function<std::string(std::uint16_t)>& instructionText) {
    items.reserve(entries.size());
    for (const BreakpointEntry& entry : entries) {
        const bool enabled = entry.enabled != 0;
        items.push_back({entry.address, ItemText(entry, instructionText(entry.address)), enabled,
                         enabled, entry.sourceLine});
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

std::string BreakpointsDialogModel::MarkedLineText(const BreakpointMarks::MarkedLine& marked) {
    return "------ " + marked.text.substr(0, 10) + ",  at Line " + std::to_string(marked.line + 1);
}

void BreakpointsDialogModel::AddMarkedLines(const std::vector<BreakpointMarks::MarkedLine>& lines) {
    std::vector<int> listed;
    for (const Item& item : items) {
        listed.push_back(std::max(item.sourceLine, item.markedLine));
    }
    for (const auto& marked : lines) {
        if (std::find(listed.begin(), listed.end(), marked.line) != listed.end()) {
            continue;
        }
        Item item;
        item.text = MarkedLineText(marked);
        item.checked = item.enabledBefore = marked.enabled;
        item.markedLine = marked.line;
        items.push_back(std::move(item));
    }
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
    const Item& item = items[static_cast<std::size_t>(index)];
    if (item.markedLine >= 0) {
        removedLines.push_back(item.markedLine);
    } else {
        removed.push_back(item.address);
    }
    items.erase(items.begin() + index);
    if (items.empty()) {
        return -1;
    }
    return std::min(index, static_cast<int>(items.size()) - 1);
}

void BreakpointsDialogModel::RemoveAll() {
    for (const Item& item : items) {
        if (item.markedLine >= 0) {
            removedLines.push_back(item.markedLine);
        } else {
            removed.push_back(item.address);
        }
    }
    items.clear();
}

void BreakpointsDialogModel::Apply(SourceViewServices& view) const {
    for (const std::uint16_t address : removed) {
        view.ToggleBreakpointAt(address);
    }
    for (const int line : removedLines) {
        view.SetLineBreakpointMark(line, BreakpointMarks::Mark::None);
    }
    for (const Item& item : items) {
        if (item.checked == item.enabledBefore) {
            continue;
        }
        if (item.markedLine >= 0) {
            view.SetLineBreakpointMark(item.markedLine, item.checked
                                                            ? BreakpointMarks::Mark::Enabled
                                                            : BreakpointMarks::Mark::Disabled);
        } else {
            view.EnableDisableBreakpointAt(item.address);
        }
    }
}
