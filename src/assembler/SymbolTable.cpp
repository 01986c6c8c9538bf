#include "assembler/SymbolTable.h"

std::optional<std::uint16_t> SymbolTable::Find(std::string_view name) const {
    const auto found = indexOfName.find(name);
    if (found == indexOfName.end()) {
        return std::nullopt;
    }
    return entries[found->second].value;
}

bool SymbolTable::Add(std::string_view name, std::uint16_t value) {
    if (entries.size() >= capacity) {
        return false;
    }
    entries.push_back({std::string(name), value});
    indexOfName.emplace(std::string(name), entries.size() - 1);
    return true;
}

void SymbolTable::Assign(std::string_view name, std::uint16_t value) {
    const auto found = indexOfName.find(name);
    if (found != indexOfName.end()) {
        entries[found->second].value = value;
    }
}

void SymbolTable::Clear() {
    entries.clear();
    indexOfName.clear();
}
