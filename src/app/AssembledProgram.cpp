#include "app/AssembledProgram.h"

#include "app/AssemblerErrorLine.h"
#include "app/RegularFile.h"
#include "assembler/CParse.h"
#include "machine/C8085Object.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// A folder of our own under the system's temporary folder, removed with its content at the end.
class PrivateFolder {
public:
    PrivateFolder() {
        std::error_code error;
        std::string pattern = (fs::temp_directory_path(error) / "zorvan-grade-XXXXXX").string();
        if (!error && mkdtemp(pattern.data()) != nullptr) {
            path = pattern;
        }
    }
    ~PrivateFolder() {
        std::error_code ignored;
        if (!path.empty()) {
            fs::remove_all(path, ignored);
        }
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    fs::path path;
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

} // namespace

std::shared_ptr<const AssembledProgram> AssembledProgram::Assemble(const std::string& path,
                                                                   const std::string& shownName,
                                                                   std::string& error) {
    std::string source;
    std::string problem;
    if (!RegularFile::Read(path, source, problem)) {
        error = shownName + ": cannot be read: " + problem;
        return nullptr;
    }
    PrivateFolder folder;
    if (folder.path.empty()) {
        error = "no temporary folder to assemble " + shownName + " in";
        return nullptr;
    }
    const auto copy = folder.path / "program.85";
    {
        std::ofstream out(copy, std::ios::binary);
        out.write(source.data(), static_cast<std::streamsize>(source.size()));
        if (!out.flush()) {
            error = "cannot copy " + shownName + " into " + folder.path.string();
            return nullptr;
        }
    }
    auto machine = std::make_unique<C8085Object>();
    CParse parser;
    parser.Attach(*machine);
    machine->Reset();
    try {
        parser.Compile(copy.string());
    } catch (const CMyException& thrown) {
        CMyException shown = thrown;
        shown.message = Replace(thrown.message, copy.string(), shownName);
        error = AssemblerErrorLine::Format(shownName, shown);
        return nullptr;
    }
    machine->Start();
    auto program = std::make_shared<AssembledProgram>();
    program->memory = machine->memory;
    program->pc = machine->pc;
    program->startAddress = machine->startAddress;
    program->sp = machine->sp;
    program->a = machine->a;
    program->b = machine->b;
    program->c = machine->c;
    program->d = machine->d;
    program->e = machine->e;
    program->h = machine->h;
    program->l = machine->l;
    program->flags = machine->flags;
    for (int i = 0; i < C8085Object::LedCount; ++i) {
        program->led[static_cast<std::size_t>(i)] = machine->GetLedCell(i);
    }
    return program;
}

void AssembledProgram::LoadInto(C8085Object& machine) const {
    machine.memory = memory;
    machine.pc = pc;
    machine.startAddress = startAddress;
    machine.sp = sp;
    machine.a = a;
    machine.b = b;
    machine.c = c;
    machine.d = d;
    machine.e = e;
    machine.h = h;
    machine.l = l;
    machine.flags = flags;
    machine.ports.fill(0);
    machine.ClearLeds();
    for (int i = 0; i < C8085Object::LedCount; ++i) {
        const int code = led[static_cast<std::size_t>(i)];
        if (i < 2) {
            machine.SetLeftPair(i, code);
        } else if (i < 6) {
            machine.SetMiddle(i - 2, code);
        } else {
            machine.SetRightPair(i - 6, code);
        }
    }
    machine.SetLedChanged(0);
    machine.callDepth = 0;
    machine.stepOutArmed = 0;
    machine.stepOutDepth = -1;
    machine.lastWritten = 0;
}
