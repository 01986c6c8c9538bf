#include "app/AssembledProgram.h"

#include "app/AssemblerErrorLine.h"
#include "assembler/CParse.h"
#include "files/RegularFile.h"
#include "machine/C8085Object.h"

#include <unistd.h>

std::shared_ptr<const AssembledProgram> AssembledProgram::Assemble(const std::string& path,
                                                                   const std::string& shownName,
                                                                   std::string& error) {
    // The assembler only says that it could not open the file; a teacher wants to know why.
    std::string problem;
    const int fd = RegularFile::OpenForReading(path, problem);
    if (fd < 0) {
        error = shownName + ": cannot be read: " + problem;
        return nullptr;
    }
    close(fd);
    auto machine = std::make_unique<C8085Object>();
    CParse parser;
    parser.Attach(*machine);
    parser.SetLineMapPlace(CParse::LineMapPlace::NoFile);
    machine->Reset();
    try {
        parser.Compile(path);
    } catch (const CMyException& thrown) {
        error = AssemblerErrorLine::Format(shownName, thrown);
        return nullptr;
    }
    machine->Start();
    auto program = std::make_shared<AssembledProgram>();
    program->memory = machine->memory;
    program->start = MachineState::Take(*machine);
    return program;
}

void AssembledProgram::LoadInto(C8085Object& machine) const {
    machine.memory = memory;
    start.Restore(machine);
    // A case starts as a fresh run: no port set, no call depth, no step-out, nothing written.
    machine.ports.fill(0);
    machine.SetLedChanged(0);
    machine.callDepth = 0;
    machine.stepOutArmed = 0;
    machine.stepOutDepth = -1;
    machine.lastWritten = 0;
}
