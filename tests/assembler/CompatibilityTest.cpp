// Sources written for the assembler before it learnt the Intel syntax assemble exactly as they did:
// the same memory, start address, last-written address, line map and, for a failure, the same code,
// message and position. The outcomes were recorded from the assembler of that time:
// tests/data/assembler/compat/ holds copies of every example, test source and guide program with
// their recorded outcomes (outcomes.golden), and generated.golden the outcomes of a few thousand
// generated sources. Setting ZORVAN_GOLDEN_OUT to a folder writes the outcomes of the assembler
// being tested there instead of comparing.
#include "AssemblerFixture.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path compatFolder = fs::path(ZORVAN_TEST_DATA) / "assembler" / "compat";

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Where the outcomes are to be written instead of compared, if anywhere.
const char* GoldenOut() {
    return std::getenv("ZORVAN_GOLDEN_OUT");
}

struct Outcome {
    bool ok = false;
    int code = 0;
    std::string text; // everything that must stay the same, as readable text
};

// Compiles `source` on a freshly reset machine, as the compile command does.
Outcome CompileOutcome(const TempFolder& folder, const std::string& source) {
    const std::string path = folder.Write("source.85", source);
    std::remove((path + ".debug").c_str());
    AssemblerFixture fixture;
    fixture.machine.Reset();
    std::ostringstream out;
    Outcome outcome;
    try {
        fixture.parser.Compile(path);
        outcome.ok = true;
        out << "result ok\n";
    } catch (const CMyException& error) {
        outcome.code = error.GetCode();
        out << "result error " << error.GetCode() << ' ' << error.errorFlag << ' '
            << error.GetLine() << ' ' << error.GetColumn() << ' ' << error.GetMessage() << '\n';
    }
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "start %04x last %04x\n", fixture.machine.startAddress,
                  fixture.machine.lastWritten);
    out << numbers << "debug " << TempFolder::Read(path + ".debug") << '\n';
    for (std::size_t row = 0; row < fixture.machine.memory.size(); row += 16) {
        const auto begin = fixture.machine.memory.begin() + static_cast<std::ptrdiff_t>(row);
        if (std::all_of(begin, begin + 16, [](std::uint8_t byte) { return byte == 0; })) {
            continue;
        }
        std::snprintf(numbers, sizeof numbers, "%04zx:", row);
        out << numbers << Hex(std::vector<std::uint8_t>(begin, begin + 16)) << '\n';
    }
    outcome.text = out.str();
    return outcome;
}

// Each line of `source` assembled alone at 0x2000, as the instruction editor does.
std::string EditorOutcome(const std::string& source) {
    std::ostringstream out;
    std::istringstream lines(source);
    AssemblerFixture fixture;
    for (std::string line; std::getline(lines, line);) {
        fixture.machine.memory.fill(0);
        fixture.machine.startAddress = 0;
        fixture.machine.lastWritten = 0;
        try {
            fixture.parser.AssembleLine(0x2000, line);
            out << "ok ";
        } catch (const CMyException& error) {
            out << error.GetCode() << ' ' << error.GetMessage() << ' ';
        }
        const std::uint16_t last = fixture.machine.lastWritten;
        out << Hex(fixture.Bytes(0x2000, 4)) << fixture.machine.startAddress << ' ' << last << ' '
            << static_cast<int>(fixture.machine.memory[last]) << ' ' << fixture.NonZeroBytes()
            << '\n';
    }
    return out.str();
}

std::uint64_t Digest(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return hash;
}

// Sections "=== name" followed by the outcome text.
std::map<std::string, std::string> ReadSections(const std::string& text) {
    std::map<std::string, std::string> sections;
    std::string name;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("=== ", 0) == 0) {
            name = line.substr(4);
            sections[name];
        } else {
            sections[name] += line + '\n';
        }
    }
    return sections;
}

TEST(Compatibility, EveryEarlierSourceAssemblesAsBefore) {
    std::vector<fs::path> sources;
    for (const auto& entry : fs::directory_iterator(compatFolder)) {
        if (entry.path().extension() == ".85") {
            sources.push_back(entry.path());
        }
    }
    std::sort(sources.begin(), sources.end());
    ASSERT_GE(sources.size(), 40u);

    TempFolder folder;
    std::string produced;
    for (const fs::path& source : sources) {
        const std::string text = ReadFile(source);
        produced += "=== " + source.filename().string() + '\n' + CompileOutcome(folder, text).text +
                    "editor\n" + EditorOutcome(text);
    }
    if (GoldenOut() != nullptr) {
        std::ofstream(fs::path(GoldenOut()) / "outcomes.golden", std::ios::binary) << produced;
        GTEST_SKIP() << "outcomes written to " << GoldenOut();
    }
    const auto expected = ReadSections(ReadFile(compatFolder / "outcomes.golden"));
    const auto actual = ReadSections(produced);
    ASSERT_EQ(expected.size(), sources.size());
    for (const auto& [name, text] : expected) {
        EXPECT_EQ(actual.at(name), text) << name;
    }
}

// Sources made of the words the assembler knew, and of words that now have a meaning (directives
// without the dot, operator words, numbers with a suffix), glued together in ways people type
// and in ways they do not.
class SourceGenerator {
public:
    explicit SourceGenerator(std::uint32_t seed) : random(seed) {}

    // One source of a few lines. `newForms` is set when it holds something that may mean more
    // than before; a source that failed before may then assemble or fail differently now.
    std::string Next(bool& newForms) {
        newForms = false;
        std::string source;
        const int lines = Pick(4) + 1;
        for (int i = 0; i < lines; ++i) {
            source += Pick(5) == 0 ? RandomLine(newForms) : StatementLine(newForms);
            source += Pick(8) == 0 ? "\r\n" : "\n";
        }
        return source;
    }

private:
    int Pick(int count) { return static_cast<int>(random() % static_cast<std::uint32_t>(count)); }

    template <typename List> const std::string& OneOf(const List& list) {
        return list[static_cast<std::size_t>(Pick(static_cast<int>(list.size())))];
    }

    std::string Value(bool& newForms, bool addressOperand) {
        if (Pick(3) == 0) {
            const std::string& name = OneOf(names);
            newForms = newForms || !addressOperand || IsNewWord(name);
            return name;
        }
        if (Pick(6) == 0) {
            newForms = true;
            return OneOf(suffixNumbers);
        }
        return Pick(4) == 0 ? OneOf(numbers) : OneOf(goodNumbers);
    }

    bool IsNewWord(const std::string& word) const {
        return std::find(newWords.begin(), newWords.end(), word) != newWords.end();
    }

    std::string StatementLine(bool& newForms) {
        std::string line = Pick(3) == 0 ? OneOf(labels) + (Pick(2) == 0 ? " " : "") : "  ";
        newForms = newForms || IsNewWord(line.substr(0, line.find(':')));
        switch (Pick(12)) {
        case 0:
            line += "mvi " + OneOf(registers) + ", " + Value(newForms, false);
            break;
        case 1:
            line += "lxi " + OneOf(registers) + "," + Value(newForms, false);
            break;
        case 2:
            line += OneOf(addressMnemonics) + " " + Value(newForms, true);
            break;
        case 3:
            line += OneOf(immediateMnemonics) + " " + Value(newForms, false);
            break;
        case 4:
            line += "mov " + OneOf(registers) + ", " + OneOf(registers);
            break;
        case 5:
            line += OneOf(registerMnemonics) + " " + OneOf(registers);
            break;
        case 6:
            line += OneOf(plainMnemonics);
            break;
        case 7:
            line += "rst " + Value(newForms, false);
            break;
        case 8:
            line += ".equ " + OneOf(names) + " " + Value(newForms, false);
            newForms = true; // the name may now stand for a value used before
            break;
        case 9:
            line += OneOf(directives) + " " + Value(newForms, false) + ", " +
                    Value(newForms, false) + ", " + Value(newForms, false);
            break;
        case 10:
            line += OneOf(directives) + " " + Value(newForms, false);
            break;
        default:
            line += OneOf(comments);
            return line;
        }
        if (Pick(4) == 0) {
            line += "  " + OneOf(comments);
        }
        return line;
    }

    std::string RandomLine(bool& newForms) {
        std::string line;
        const int words = Pick(6) + 1;
        for (int i = 0; i < words; ++i) {
            const auto& pool =
                *pools[static_cast<std::size_t>(Pick(static_cast<int>(pools.size())))];
            const std::string& word = OneOf(pool);
            // A register name where a value belongs is a name too.
            newForms = newForms || &pool == &names || &pool == &registers ||
                       &pool == &suffixNumbers || IsNewWord(word);
            line += word + OneOf(joiners);
        }
        return line;
    }

    std::mt19937 random;
    const std::vector<std::string> registers{"a",  "b",   "c",  "d", "e", "h",  "l", "m",
                                             "sp", "psw", "bc", "A", "M", "SP", "x"};
    const std::vector<std::string> addressMnemonics{"jmp", "call", "jnz",  "cz", "lda",
                                                    "sta", "shld", "LHLD", "Jmp"};
    const std::vector<std::string> immediateMnemonics{"adi", "aci", "sui", "cpi",
                                                      "in",  "out", "ANI", "xri"};
    const std::vector<std::string> registerMnemonics{"inr", "dcr",  "add",  "cmp", "push",
                                                     "pop", "stax", "ldax", "dad", "inx"};
    const std::vector<std::string> plainMnemonics{"nop", "hlt",  "ret",     "xchg", "NOP",
                                                  "rz",  "pchl", "nop nop", "di",   "ei"};
    const std::vector<std::string> numbers{
        "0",    "7",      "12",    "255",   "300", "65535",  "65536", "99999999999", "0x1F",
        "0xff", "0x",     "0x1G",  "017",   "019", "101b",   "102b",  "0X10",        "12ab",
        "5nop", "1dad b", "12hlt", "0x10h", "8",   "0x2000", "0377"};
    const std::vector<std::string> goodNumbers{"0",      "1",      "7",   "12",   "255",
                                               "0x20",   "0xFFFF", "017", "101b", "65535",
                                               "0x2000", "300",    "0x"};
    const std::vector<std::string> suffixNumbers{"12h",   "0FFH", "23H", "17o",  "17q", "10d",
                                                 "0101b", "0b",   "1ah", "101B", "0ah", "7Q"};
    const std::vector<std::string> names{"x",     "y",   "Loop", "LOOP", "loop", "low", "high",
                                         "and",   "or",  "not",  "mod",  "shl",  "end", "db",
                                         "equ",   "set", "org",  "ds",   "dw",   "EQU", "SET",
                                         "table", "_t",  "ah",   "d1"};
    const std::vector<std::string> newWords{"low", "high", "and", "or",  "not", "mod", "shl",
                                            "end", "db",   "equ", "set", "org", "ds",  "dw",
                                            "EQU", "SET",  "END", "DB",  "ORG", "xor", "shr"};
    const std::vector<std::string> labels{
        "x:", "y:",   "Loop:", "loop:",  "LOOP:", "low:",  "ah:",
        "d:", "end:", "db:",   "table:", "_t:",   "x: y:", "equ:"};
    const std::vector<std::string> directives{".org", ".begin", ".fill", ".setbyte", ".setword",
                                              ".ORG", ".db",    ".",     ".equ",     ".Begin"};
    const std::vector<std::string> comments{"; plain", "# hash", ";it's (a) $-1 + 'q'", ";",
                                            "#x: db 1"};
    const std::vector<std::string> mnemonics{"mov",  "mvi", "lxi", "jmp", "call", "rst",
                                             "push", "nop", "hlt", "MOV", "Nop",  "in"};
    const std::vector<std::string> punctuation{",", ":", ", ", "::"};
    const std::vector<std::string> joiners{" ", "", ", ", "\t", "  "};
    const std::vector<const std::vector<std::string>*> pools{
        &mnemonics,  &registers, &numbers,     &suffixNumbers, &names,         &labels,
        &directives, &comments,  &punctuation, &newWords,      &plainMnemonics};
};

TEST(Compatibility, GeneratedSourcesAssembleAsBefore) {
    constexpr int count = 2500;
    SourceGenerator generator(20240611);
    TempFolder folder;
    std::string produced;
    std::vector<bool> newForms;
    std::vector<std::string> sources;
    for (int i = 0; i < count; ++i) {
        bool uses = false;
        const std::string& source = sources.emplace_back(generator.Next(uses));
        newForms.push_back(uses);
        const Outcome outcome = CompileOutcome(folder, source);
        char line[96];
        std::snprintf(line, sizeof line, "%d %d %016llx %016llx\n", i,
                      outcome.ok ? 0 : outcome.code,
                      static_cast<unsigned long long>(Digest(outcome.text)),
                      static_cast<unsigned long long>(Digest(EditorOutcome(source))));
        produced += line;
    }
    if (GoldenOut() != nullptr) {
        std::ofstream(fs::path(GoldenOut()) / "generated.golden", std::ios::binary) << produced;
        GTEST_SKIP() << "outcomes written to " << GoldenOut();
    }
    std::istringstream expected(ReadFile(compatFolder / "generated.golden"));
    std::istringstream actual(produced);
    int assembledBefore = 0;
    int comparedFailures = 0;
    for (int i = 0; i < count; ++i) {
        int index = 0;
        int codeBefore = 0;
        int codeNow = 0;
        std::string compileBefore, compileNow, editorBefore, editorNow;
        ASSERT_TRUE(expected >> index >> codeBefore >> compileBefore >> editorBefore) << i;
        actual >> index >> codeNow >> compileNow >> editorNow;
        SCOPED_TRACE(sources[static_cast<std::size_t>(i)]);
        if (codeBefore == 0) {
            ++assembledBefore;
            EXPECT_EQ(codeNow, 0) << "source " << i << " no longer assembles";
            EXPECT_EQ(compileNow, compileBefore) << "source " << i << " assembles differently";
        } else if (!newForms[static_cast<std::size_t>(i)]) {
            ++comparedFailures;
            EXPECT_EQ(codeNow, codeBefore) << "source " << i;
            EXPECT_EQ(compileNow, compileBefore) << "source " << i << " fails differently";
        }
        if (!newForms[static_cast<std::size_t>(i)] || codeBefore == 0) {
            EXPECT_EQ(editorNow, editorBefore) << "source " << i << " in the instruction editor";
        }
    }
    // The generator must keep producing both kinds in numbers that mean something.
    EXPECT_GT(assembledBefore, 300);
    EXPECT_GT(comparedFailures, 300);
}

} // namespace
