#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The assembler's names: labels, ".equ", EQU and SET names share one table of at most `capacity`
// entries. Names are compared exactly, case included.
class SymbolTable {
public:
    static constexpr std::size_t capacity = 1024;

    struct Entry {
        std::string name;
        std::uint16_t value;
    };

    SymbolTable() = default;
    virtual ~SymbolTable() = default;

    std::optional<std::uint16_t> Find(std::string_view name) const;
    // Adds `name`; false when the table is full. The caller checks for duplicates first.
    bool Add(std::string_view name, std::uint16_t value);
    // Gives the entry `name`, which must exist, a new value (SET).
    void Assign(std::string_view name, std::uint16_t value);
    void Clear();

    std::size_t Count() const { return entries.size(); }
    // The entries in definition order.
    const std::vector<Entry>& Entries() const { return entries; }

private:
    // Hashing by string_view lets Find look up without building a string.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const {
            return std::hash<std::string_view>{}(name);
        }
    };

    std::vector<Entry> entries;
    std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>> indexOfName;
};
