#include "assembler/LineMapLocation.h"

#include "files/UserFolders.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

namespace LineMapLocation {

namespace {

// 64-bit FNV-1a: stable from one run and one build to the next, unlike std::hash.
std::uint64_t HashOf(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string Hex(std::uint64_t value) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i) {
        text[static_cast<std::size_t>(i)] = digits[value & 0xF];
        value >>= 4;
    }
    return text;
}

} // namespace

std::string BesideSource(const std::string& sourcePath) {
    return sourcePath + ".debug";
}

std::optional<std::string> InCache(const std::string& sourcePath) {
    const auto cache = UserFolders::CacheHome();
    if (!cache) {
        return std::nullopt;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(sourcePath, error);
    if (error) {
        return std::nullopt;
    }
    const std::string full = absolute.lexically_normal().string();
    // Base names are cut short enough that the whole name stays within the system's limit.
    std::string base = absolute.filename().string().substr(0, 200);
    if (base.empty()) {
        base = "source";
    }
    return *cache + "/zorvan/" + base + "-" + Hex(HashOf(full)) + ".debug";
}

} // namespace LineMapLocation
