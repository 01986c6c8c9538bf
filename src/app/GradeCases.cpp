#include "app/GradeCases.h"

#include "app/WholeFile.h"
#include "machine/SegmentCodes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <set>
#include <toml++/toml.h>

namespace {

constexpr double longestTimeLimit = 86400;

// Checks one CASES file; every problem is thrown as GradeCases::Error at its line.
class CasesReader {
public:
    explicit CasesReader(const std::string& casesPath) : path(casesPath) {}

    GradeCases Read(std::string_view text) {
        toml::table root;
        try {
            root = toml::parse(text, path);
        } catch (const toml::parse_error& error) {
            throw GradeCases::Error(path, static_cast<int>(error.source().begin.line),
                                    std::string(error.description()));
        }
        CheckKeys(root, {"title", "main", "step_limit", "time_limit", "case"}, "the file");
        GradeCases cases;
        cases.file = path;
        cases.title = OptionalText(root, "title").value_or("");
        cases.main = OptionalText(root, "main").value_or("");
        stepLimit = StepLimit(root).value_or(GradeCases::defaultStepLimit);
        timeLimit = TimeLimit(root).value_or(GradeCases::defaultTimeLimit);
        const auto* list = root.get("case");
        if (list == nullptr) {
            throw GradeCases::Error(path, 0, "no test case: add [[case]] tables");
        }
        if (!list->is_array_of_tables()) {
            Fail(*list, "'case' must be written as [[case]] tables");
        }
        std::set<std::string> names;
        for (const auto& node : *list->as_array()) {
            auto one = Case(*node.as_table(), static_cast<int>(cases.cases.size()) + 1);
            if (!names.insert(one.name).second) {
                Fail(node, "two cases are named '" + one.name + "'");
            }
            cases.cases.push_back(std::move(one));
        }
        return cases;
    }

private:
    [[noreturn]] void Fail(const toml::node& node, const std::string& reason) const {
        throw GradeCases::Error(path, static_cast<int>(node.source().begin.line), reason);
    }
    [[noreturn]] void Fail(const toml::key& key, const std::string& reason) const {
        throw GradeCases::Error(path, static_cast<int>(key.source().begin.line), reason);
    }

    void CheckKeys(const toml::table& table, std::initializer_list<std::string_view> known,
                   const std::string& where) const {
        for (const auto& [key, node] : table) {
            if (std::find(known.begin(), known.end(), key.str()) == known.end()) {
                std::string list;
                for (const auto name : known) {
                    list += (list.empty() ? "" : ", ") + std::string(name);
                }
                Fail(key, "unknown key '" + std::string(key.str()) + "' in " + where +
                              " (known: " + list + ")");
            }
        }
    }

    std::optional<std::string> OptionalText(const toml::table& table, std::string_view key) const {
        const auto* node = table.get(key);
        if (node == nullptr) {
            return std::nullopt;
        }
        if (!node->is_string()) {
            Fail(*node, "'" + std::string(key) + "' must be a text in quotes");
        }
        return node->as_string()->get();
    }

    std::int64_t Integer(const toml::node& node, std::int64_t min, std::int64_t max,
                         const std::string& what) const {
        const auto* value = node.as_integer();
        if (value == nullptr || value->get() < min || value->get() > max) {
            Fail(node, what + " must be an integer from " + std::to_string(min) + " to " +
                           std::to_string(max));
        }
        return value->get();
    }

    double Number(const toml::node& node, double min, double max, const std::string& what) const {
        const auto value = node.value<double>();
        if (!value || !std::isfinite(*value) || *value < min || *value > max) {
            Fail(node, what + " must be a number from " + Format(min) + " to " + Format(max));
        }
        return *value;
    }

    static std::string Format(double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value);
        return text;
    }

    std::optional<std::uint64_t> StepLimit(const toml::table& table) const {
        const auto* node = table.get("step_limit");
        if (node == nullptr) {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(
            Integer(*node, 1, std::numeric_limits<std::int64_t>::max(), "step_limit"));
    }

    std::optional<double> TimeLimit(const toml::table& table) const {
        const auto* node = table.get("time_limit");
        if (node == nullptr) {
            return std::nullopt;
        }
        const double seconds = Number(*node, 0, longestTimeLimit, "time_limit (seconds)");
        if (seconds <= 0) {
            Fail(*node, "time_limit (seconds) must be above 0");
        }
        return seconds;
    }

    // "0x2000" or "8192".
    std::optional<std::int64_t> KeyNumber(std::string_view text) const {
        int base = 10;
        if (text.starts_with("0x") || text.starts_with("0X")) {
            base = 16;
            text.remove_prefix(2);
        }
        std::int64_t value = 0;
        const auto [end, problem] =
            std::from_chars(text.data(), text.data() + text.size(), value, base);
        if (text.empty() || problem != std::errc() || end != text.data() + text.size()) {
            return std::nullopt;
        }
        return value;
    }

    std::int64_t Key(const toml::key& key, std::int64_t max, const std::string& what) const {
        const auto value = KeyNumber(key.str());
        if (!value || *value < 0 || *value > max) {
            char range[16];
            std::snprintf(range, sizeof range, "0x%llx", static_cast<unsigned long long>(max));
            Fail(key, what + " '" + std::string(key.str()) + "' must be a number from 0 to " +
                          range + " (0x hexadecimal or decimal)");
        }
        return *value;
    }

    const toml::table& Table(const toml::node& node, const std::string& what) const {
        if (!node.is_table()) {
            Fail(node, what + " must be a table, as in " + what + " = { ... }");
        }
        return *node.as_table();
    }

    // A text's bytes, one integer byte, or an array of integer bytes.
    std::string Bytes(const toml::node& node, const std::string& what) const {
        if (const auto* text = node.as_string()) {
            return text->get();
        }
        if (node.is_integer()) {
            return std::string(1, static_cast<char>(Integer(node, 0, 255, what)));
        }
        if (const auto* array = node.as_array()) {
            std::string bytes;
            for (const auto& element : *array) {
                bytes += static_cast<char>(Integer(element, 0, 255, "each byte of " + what));
            }
            return bytes;
        }
        Fail(node, what + " must be a text, a byte or an array of bytes");
    }

    GradeCase::State State(const toml::table& table) const {
        GradeCase::State state;
        if (const auto* node = table.get("registers")) {
            for (const auto& [key, value] : Table(*node, "registers")) {
                const auto name = GradeCase::FindRegister(std::string(key.str()));
                if (!name) {
                    Fail(key, "unknown register '" + std::string(key.str()) +
                                  "' (a, b, c, d, e, h, l, f, bc, de, hl, sp, pc)");
                }
                const bool wide = *name >= GradeCase::Register::BC;
                state.registers.push_back({*name, static_cast<std::uint16_t>(Integer(
                                                      value, 0, wide ? 0xFFFF : 0xFF,
                                                      "register " + std::string(key.str())))});
            }
        }
        if (const auto* node = table.get("flags")) {
            for (const auto& [key, value] : Table(*node, "flags")) {
                const auto name = GradeCase::FindFlag(std::string(key.str()));
                if (!name) {
                    Fail(key, "unknown flag '" + std::string(key.str()) + "' (s, z, ac, p, cy)");
                }
                const auto set = value.is_boolean()
                                     ? value.as_boolean()->get()
                                     : Integer(value, 0, 1, "flag " + std::string(key.str())) != 0;
                state.flags.push_back({*name, set});
            }
        }
        if (const auto* node = table.get("memory")) {
            for (const auto& [key, value] : Table(*node, "memory")) {
                const auto address = Key(key, 0xFFFF, "memory address");
                const auto bytes = Bytes(value, "memory at " + std::string(key.str()));
                if (bytes.empty() || bytes.size() > 0x10000) {
                    Fail(value,
                         "memory at " + std::string(key.str()) + " must hold 1 to 65536 bytes");
                }
                state.memory.push_back({static_cast<std::uint16_t>(address),
                                        std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
            }
        }
        if (const auto* node = table.get("ports")) {
            for (const auto& [key, value] : Table(*node, "ports")) {
                const auto number = Key(key, 0xFF, "port");
                state.ports.push_back({static_cast<std::uint8_t>(number),
                                       static_cast<std::uint8_t>(Integer(
                                           value, 0, 255, "port " + std::string(key.str())))});
            }
        }
        // Compared in a fixed order, whatever order the file gives.
        std::ranges::sort(state.registers, {}, &GradeCase::RegisterValue::name);
        std::ranges::sort(state.flags, {}, &GradeCase::FlagValue::name);
        std::ranges::sort(state.memory, {}, &GradeCase::Bytes::address);
        std::ranges::sort(state.ports, {}, &GradeCase::Port::number);
        return state;
    }

    // A table {cell = code}, an array of the eight codes, or eight display characters.
    std::vector<GradeCase::LedCell> Led(const toml::node& node) const {
        std::vector<GradeCase::LedCell> cells;
        if (const auto* table = node.as_table()) {
            for (const auto& [key, value] : *table) {
                cells.push_back({static_cast<int>(Key(key, 7, "LED cell")),
                                 static_cast<std::uint8_t>(Integer(value, 0, 255, "LED code"))});
            }
        } else if (const auto* array = node.as_array(); array != nullptr && array->size() == 8) {
            for (int i = 0; i < 8; ++i) {
                cells.push_back(
                    {i, static_cast<std::uint8_t>(Integer(*array->get(static_cast<std::size_t>(i)),
                                                          0, 255, "LED code"))});
            }
        } else if (const auto* text = node.as_string();
                   text != nullptr && text->get().size() == 8) {
            static constexpr std::string_view shown = "0123456789abcdef .-g";
            for (int i = 0; i < 8; ++i) {
                const char c = static_cast<char>(std::tolower(
                    static_cast<unsigned char>(text->get()[static_cast<std::size_t>(i)])));
                const auto index = shown.find(c);
                if (index == std::string_view::npos) {
                    Fail(node, "led: '" + std::string(1, c) +
                                   "' cannot be shown (0-9, A-F, G, blank, '.', '-')");
                }
                cells.push_back({i, static_cast<std::uint8_t>(DigitCode(static_cast<int>(index)))});
            }
        } else {
            Fail(node, "led must be a table {cell = code}, an array of 8 codes or a text of 8 "
                       "characters");
        }
        return cells;
    }

    GradeCase::Expectations Expectations(const toml::table& table, const std::string& where) const {
        CheckKeys(table,
                  {"stop", "registers", "flags", "memory", "ports", "led", "printed", "com1",
                   "com2", "beeps"},
                  "the expectations of " + where);
        GradeCase::Expectations expect;
        if (const auto* node = table.get("stop")) {
            const auto name = node->value<std::string>();
            expect.stop = name ? GradeCase::FindStop(*name) : std::nullopt;
            if (!expect.stop) {
                Fail(*node, "stop must be one of " + GradeCase::StopNames());
            }
        }
        expect.state = State(table);
        if (const auto* node = table.get("led")) {
            expect.led = Led(*node);
            std::ranges::sort(expect.led, {}, &GradeCase::LedCell::cell);
        }
        if (const auto* node = table.get("printed")) {
            expect.printed = Bytes(*node, "printed");
        }
        if (const auto* node = table.get("com1")) {
            expect.com1 = Bytes(*node, "com1");
        }
        if (const auto* node = table.get("com2")) {
            expect.com2 = Bytes(*node, "com2");
        }
        if (const auto* node = table.get("beeps")) {
            expect.beeps = static_cast<int>(Integer(*node, 0, 1'000'000'000, "beeps"));
        }
        return expect;
    }

    GradeCase Case(const toml::table& table, int number) const {
        GradeCase one;
        one.line = static_cast<int>(table.source().begin.line);
        one.name = OptionalText(table, "name").value_or("case " + std::to_string(number));
        const auto where = "case '" + one.name + "'";
        CheckKeys(table,
                  {"name", "points", "step_limit", "time_limit", "keyboard", "com1", "com2",
                   "preset", "expect"},
                  where);
        if (const auto* node = table.get("points")) {
            one.points = Number(*node, 0, 1e9, "points");
        }
        one.stepLimit = StepLimit(table).value_or(stepLimit);
        one.timeLimit = TimeLimit(table).value_or(timeLimit);
        if (const auto* node = table.get("keyboard")) {
            const auto* answers = node->as_array();
            if (answers == nullptr) {
                Fail(*node,
                     "keyboard must be an array of answers, as in keyboard = [12, \"0x1f\"]");
            }
            for (const auto& answer : *answers) {
                if (const auto* text = answer.as_string()) {
                    one.keyboard.push_back(text->get());
                } else if (const auto* integer = answer.as_integer()) {
                    one.keyboard.push_back(std::to_string(integer->get()));
                } else {
                    Fail(answer, "each keyboard answer must be an integer or a text");
                }
            }
        }
        if (const auto* node = table.get("com1")) {
            one.com1 = Bytes(*node, "com1");
        }
        if (const auto* node = table.get("com2")) {
            one.com2 = Bytes(*node, "com2");
        }
        if (const auto* node = table.get("preset")) {
            const auto& preset = Table(*node, "preset");
            CheckKeys(preset, {"registers", "flags", "memory", "ports"}, "the preset of " + where);
            one.preset = State(preset);
        }
        if (const auto* node = table.get("expect")) {
            one.expect = Expectations(Table(*node, "expect"), where);
        }
        return one;
    }

    std::string path;
    std::uint64_t stepLimit = GradeCases::defaultStepLimit;
    double timeLimit = GradeCases::defaultTimeLimit;
};

std::string ErrorText(const std::string& file, int line, const std::string& reason) {
    return line > 0 ? file + ":" + std::to_string(line) + ": " + reason : file + ": " + reason;
}

} // namespace

GradeCases::Error::Error(const std::string& file, int line, const std::string& reason)
    : std::runtime_error(ErrorText(file, line, reason)) {
}

double GradeCases::MaxPoints() const {
    double total = 0;
    for (const auto& one : cases) {
        total += one.points;
    }
    return total;
}

GradeCases GradeCases::Load(const std::string& path) {
    std::string text;
    std::string problem;
    if (!WholeFile::Read(path, text, problem)) {
        throw Error(path, 0, problem);
    }
    return Parse(text, path);
}

GradeCases GradeCases::Parse(std::string_view text, const std::string& path) {
    return CasesReader(path).Read(text);
}
