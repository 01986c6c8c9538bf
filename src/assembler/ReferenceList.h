#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Uses of a name before its definition, gathered per name while a file is assembled.
struct UnresolvedReference {
    std::string name;                 // as spelled at its first use
    std::vector<std::uint16_t> sites; // address of each instruction that used the name
    int line = 0;                     // position of the first use
    int column = 0;
};

// The forward references of one assembly. Uses are grouped by name ignoring case, so that a
// record is looked up later under the spelling of its first use.
class ReferenceList {
public:
    ReferenceList() = default;
    virtual ~ReferenceList() = default;

    // Returns the index of the name's record.
    std::size_t Add(std::string_view name, std::uint16_t site, int line, int column);
    void Clear();

    // The records in the order of each name's first use.
    const std::vector<UnresolvedReference>& Records() const { return records; }

private:
    std::vector<UnresolvedReference> records;
    std::unordered_map<std::string, std::size_t> indexOfFoldedName;
    std::string folded;
};
