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
