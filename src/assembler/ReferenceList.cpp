#include "assembler/ReferenceList.h"

#include "assembler/SourceChar.h"

std::size_t ReferenceList::Add(std::string_view name, std::uint16_t site, int line, int column) {
    folded.assign(name);
    for (char& c : folded) {
        c = SourceChar::ToLower(c);
    }
    const auto found = indexOfFoldedName.find(folded);
    if (found != indexOfFoldedName.end()) {
        records[found->second].sites.push_back(site);
        return found->second;
    }
    indexOfFoldedName.emplace(folded, records.size());
    records.push_back({std::string(name), {site}, line, column});
    return records.size() - 1;
}

void ReferenceList::Clear() {
    records.clear();
    indexOfFoldedName.clear();
}
