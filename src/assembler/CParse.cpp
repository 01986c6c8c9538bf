#include "assembler/CParse.h"

#include "assembler/LineMapLocation.h"
#include "assembler/MnemonicIndex.h"
#include "assembler/SourceChar.h"
#include "files/RegularFile.h"
#include "files/UserFolders.h"
#include "machine/C8085Object.h"
#include "machine/OpcodeRow.h"
#include "machine/OpcodeTable.h"

#include <cstdio>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <unistd.h>

namespace {

// How an instruction's operands are written, decided by its kind.
enum class OperandForm {
    None,
    Immediate8,
    RegisterLow,  // register in bits 2-0
    RegisterHigh, // register in bits 5-3
    Mvi,
    Mov,
    PairSp, // b, d, h or sp in bits 5-4
    Lxi,
    PairPsw, // b, d, h or psw
    PairBd,  // b or d
    Rst,
    Address16,
};

OperandForm FormOfKind(int kind) {
    namespace K = InstructionKind;
    switch (kind) {
    case K::Aci:
    case K::Adi:
    case K::Ani:
    case K::Cpi:
    case K::In:
    case K::Ori:
    case K::Out:
    case K::Sbi:
    case K::Sui:
    case K::Xri:
        return OperandForm::Immediate8;
    case K::Adc:
    case K::Add:
    case K::Ana:
    case K::Cmp:
    case K::Ora:
    case K::Sbb:
    case K::Sub:
    case K::Xra:
        return OperandForm::RegisterLow;
    case K::Inr:
    case K::Dcr:
        return OperandForm::RegisterHigh;
    case K::Mvi:
        return OperandForm::Mvi;
    case K::Mov:
        return OperandForm::Mov;
    case K::Inx:
    case K::Dad:
    case K::Dcx:
        return OperandForm::PairSp;
    case K::Lxi:
        return OperandForm::Lxi;
    case K::Push:
    case K::Pop:
        return OperandForm::PairPsw;
    case K::Stax:
    case K::Ldax:
        return OperandForm::PairBd;
    case K::Rst:
        return OperandForm::Rst;
    case K::Call:
    case K::Jmp:
    case K::Shld:
    case K::Sta:
    case K::Lhld:
    case K::Lda:
    case K::Jc:
    case K::Jnc:
    case K::Jp:
    case K::Jm:
    case K::Jpe:
    case K::Jpo:
    case K::Jz:
    case K::Jnz:
    case K::Cc:
    case K::Cnc:
    case K::Cp:
    case K::Cm:
    case K::Cpe:
    case K::Cpo:
    case K::Cz:
    case K::Cnz:
        return OperandForm::Address16;
    default:
        return OperandForm::None;
    }
}

bool IsNumber(TokenKind kind) {
    return kind == TokenKind::Binary || kind == TokenKind::Octal || kind == TokenKind::Decimal ||
           kind == TokenKind::Hex;
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return c - 'A' + 10;
}

// The lexer has checked the digits against the radix. Saturates at the largest 32-bit value.
std::int32_t ConvertNumber(const std::string& digits, int radix) {
    constexpr std::int64_t largest = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (char c : digits) {
        value = value * radix + DigitValue(c);
        if (value > largest) {
            return static_cast<std::int32_t>(largest);
        }
    }
    return static_cast<std::int32_t>(value);
}

} // namespace

CParse::CParse() {
    scratch.reserve(1024);
}

CParse::~CParse() {
    CloseFiles();
}

void CParse::Attach(C8085Object& machine_) {
    machine = &machine_;
}

C8085Object& CParse::Machine() {
    if (machine == nullptr) {
        throw std::logic_error("CParse: no machine attached");
    }
    return *machine;
}

std::string CParse::PositionText() {
    positionText =
        "Line - " + std::to_string(lineNumber) + " Column - " + std::to_string(Column()) + " ";
    return positionText;
}

bool CParse::IsMnemonic(const std::string& word) {
    // What instructionSet.FindMnemonic(word) does, without its search through all the rows.
    const int opcode = MnemonicIndex::Find(word);
    if (opcode < 0) {
        return false;
    }
    instructionSet.currentRow = &OpcodeTable()[static_cast<std::size_t>(opcode)];
    instructionSet.currentIndex = opcode;
    return true;
}

TokenKind CParse::GetToken() {
    if (compiling && scanPos == none) {
        if (sourceReader.ReadPiece(piece, maxLineLength)) {
            StartLine(piece);
        } else {
            if (sourceReader.Failed()) {
                RaiseError(1, AssemblerError::CannotOpen, "Error could not read file");
            }
            endOfFile = true;
        }
    }
    return CScanner::GetToken();
}

void CParse::Reset() {
    symbols.Clear();
    ResetLex();
    locationCounter = 0;
    references.Clear();
}

void CParse::SetLineMapPlace(LineMapPlace place, std::string chosenPath) {
    lineMapPlace = place;
    chosenLineMapPath = std::move(chosenPath);
}

void CParse::OpenFiles(const std::string& path) {
    sourcePath = path;
    debugPath.clear();
    lineMapInCache = false;
    if (sourcePath.empty()) {
        RaiseError(1, AssemblerError::EmptyFileName, "Empty file name");
    }
    std::string problem;
    const int fd = RegularFile::OpenForReading(sourcePath, problem);
    if (fd >= 0) {
        sourceFile.reset(fdopen(fd, "r"));
        if (!sourceFile) {
            close(fd);
        }
    }
    if (!sourceFile) {
        RaiseError(1, AssemblerError::CannotOpen, "Error could not open file");
    }
    sourceReader.Attach(sourceFile.get());
    compiling = true;
    endOfFile = false;
    OpenLineMap();
}

void CParse::OpenLineMap() {
    switch (lineMapPlace) {
    case LineMapPlace::NoFile:
        return;
    case LineMapPlace::ChosenPath:
        debugPath = chosenLineMapPath;
        lineMapWriter.Open(debugPath, "wt");
        return;
    case LineMapPlace::BesideSource:
        break;
    }
    debugPath = LineMapLocation::BesideSource(sourcePath);
    try {
        lineMapWriter.Open(debugPath, "wt");
    } catch (const CMyException&) {
        const auto cached = LineMapLocation::InCache(sourcePath);
        if (!lineMapWriter.WriteNotPermitted() || !cached ||
            !UserFolders::MakeFolders(std::filesystem::path(*cached).parent_path().string())) {
            throw;
        }
        debugPath = *cached;
        lineMapInCache = true;
        lineMapWriter.Open(debugPath, "wt");
    }
}

void CParse::CloseFiles() {
    sourcePath.clear();
    sourceReader.Attach(nullptr);
    sourceFile.reset();
    lineMapWriter.Close();
    compiling = false;
}

int CParse::Compile(const std::string& path) {
    try {
        Machine();
        Reset();
        OpenFiles(path);
        while (!endOfFile) {
            ParseCurrentLine();
        }
        ResolveReferences();
        CloseFiles();
        if (lineMapPlace != LineMapPlace::NoFile && lineMapWriter.WriteFailed()) {
            throw CMyException(1, AssemblerError::CannotOpen,
                               "CdebugData::Error could not write debug info file <" + debugPath +
                                   ">: " + lineMapWriter.Problem());
        }
        return 0;
    } catch (const CMyException& error) {
        CloseFiles();
        lastError = error;
        throw lastError;
    } catch (...) {
        CloseFiles();
        throw;
    }
}

TokenKind CParse::AssembleLine(std::uint16_t address, std::string_view text) {
    Machine();
    Reset();
    locationCounter = address;
    return ParseLine(text);
}

TokenKind CParse::ParseLine(std::string_view text) {
    StartLine(text);
    ParseCurrentLine();
    return TokenKind::EndOfLine;
}

void CParse::ParseCurrentLine() {
    for (TokenKind kind = GetToken(); kind != TokenKind::EndOfLine; kind = GetToken()) {
        ParseStatement(kind);
    }
}

void CParse::ParseStatement(TokenKind kind) {
    switch (kind) {
    case TokenKind::Label:
        DefineSymbol(tokenText, locationCounter);
        break;
    case TokenKind::Comment:
        break;
    case TokenKind::Mnemonic:
        ParseInstruction();
        break;
    case TokenKind::Directive:
        if (!directive.Find(tokenText)) {
            RaiseError(1, AssemblerError::IllegalDirective, "Illegal directive");
        }
        ParseDirective();
        break;
    default:
        RaiseError(1, AssemblerError::SyntaxError, "Syntax Error");
    }
}

void CParse::DefineSymbol(const std::string& name, std::uint16_t value) {
    if (symbols.Find(name)) {
        RaiseError(1, AssemblerError::DuplicateSymbol, "Duplicate Symbol");
    }
    if (!symbols.Add(name, value)) {
        RaiseError(1, AssemblerError::SymbolTableOverflow,
                   "Internal error - Symbol Table overflow");
    }
}

void CParse::ParseInstruction() {
    if (compiling) {
        // Written before the operands are read, so an instruction that fails has its record.
        lineMapWriter.WriteRecord(locationCounter, lineNumber);
    }
    const OpcodeRow& row = *instructionSet.currentRow;
    const int opcode = row.opcode;
    C8085Object& target = Machine();
    const std::uint16_t at = locationCounter;
    const auto byte = [](int value) { return static_cast<std::uint8_t>(value); };

    switch (FormOfKind(row.kind)) {
    case OperandForm::None:
        target.WriteByte(at, byte(opcode));
        break;
    case OperandForm::Immediate8:
        target.WriteTwoBytes(at, byte(opcode), byte(GetValue(true)));
        break;
    case OperandForm::RegisterLow:
        target.WriteByte(at, byte(opcode + RegisterCode(ParseRegister(anyRegister))));
        break;
    case OperandForm::RegisterHigh:
        target.WriteByte(at, byte(opcode + 8 * RegisterCode(ParseRegister(anyRegister))));
        break;
    case OperandForm::Mvi: {
        const int code = RegisterCode(ParseRegister(anyRegister));
        ExpectComma();
        target.WriteTwoBytes(at, byte(opcode + 8 * code), byte(GetValue(true)));
        break;
    }
    case OperandForm::Mov: {
        const int destination = ParseRegister(anyRegister);
        ExpectComma();
        const int source = ParseRegister(anyRegister);
        if (destination == RegM && source == RegM) {
            RaiseError(1, AssemblerError::IllegalRegister,
                       " Both operands cannot be memory location ");
        }
        target.WriteByte(at, byte(opcode + 8 * RegisterCode(destination) + RegisterCode(source)));
        break;
    }
    case OperandForm::PairSp:
        target.WriteByte(
            at, byte(opcode + 8 * RegisterCode(ParseRegister(RegB | RegD | RegH | RegSp))));
        break;
    case OperandForm::Lxi: {
        const int code = RegisterCode(ParseRegister(RegB | RegD | RegH | RegSp));
        ExpectComma();
        const auto value = static_cast<std::uint16_t>(GetValue(true));
        target.WriteByteAndWord(at, byte(opcode + 8 * code), value);
        break;
    }
    case OperandForm::PairPsw:
        target.WriteByte(
            at, byte(opcode + 8 * RegisterCode(ParseRegister(RegB | RegD | RegH | RegPsw))));
        break;
    case OperandForm::PairBd:
        target.WriteByte(at, byte(opcode + 8 * RegisterCode(ParseRegister(RegB | RegD))));
        break;
    case OperandForm::Rst: {
        const auto number = static_cast<std::uint16_t>(GetValue(true));
        if (number > 7) {
            RaiseError(1, AssemblerError::IllegalRst, "Illegal RST instruction");
        }
        target.WriteByte(at, byte(opcode + 8 * number));
        break;
    }
    case OperandForm::Address16:
        target.WriteByteAndWord(at, byte(opcode), static_cast<std::uint16_t>(GetValue(false)));
        break;
    }
    locationCounter = static_cast<std::uint16_t>(locationCounter + row.length);
}

int CParse::ParseRegister(int allowed) {
    const std::string& name = ExpectIdentifier();
    int value = 0;
    bool oneLetter = true;
    switch (SourceChar::ToLower(name[0])) {
    case 'a':
        value = RegA;
        break;
    case 'b':
        value = RegB;
        break;
    case 'c':
        value = RegC;
        break;
    case 'd':
        value = RegD;
        break;
    case 'e':
        value = RegE;
        break;
    case 'h':
        value = RegH;
        break;
    case 'l':
        value = RegL;
        break;
    case 'm':
        value = RegM;
        break;
    default:
        oneLetter = false;
    }
    if (oneLetter) {
        if (name.size() > 1) {
            RaiseError(1, AssemblerError::IllegalRegister, " Illegal register");
        }
    } else {
        std::string lower;
        for (char c : name) {
            lower += SourceChar::ToLower(c);
        }
        if (lower == "sp") {
            value = RegSp;
        } else if (lower == "psw") {
            value = RegPsw;
        } else {
            RaiseError(1, AssemblerError::IllegalRegister, "Illegal register specified");
        }
    }
    if (allowed != anyRegister && (value & allowed) == 0) {
        RaiseError(1, AssemblerError::IllegalRegister, " Illegal register");
    }
    return value;
}

int CParse::RegisterCode(int value) {
    switch (value) {
    case RegB:
        return 0;
    case RegC:
        return 1;
    case RegD:
        return 2;
    case RegE:
        return 3;
    case RegH:
        return 4;
    case RegL:
        return 5;
    case RegA:
        return 7;
    default:
        return 6; // m, and sp and psw, which share its code
    }
}

std::int32_t CParse::GetValue(bool constantRequired) {
    const TokenKind kind = GetToken();
    if (kind == TokenKind::Identifier) {
        if (const auto value = symbols.Find(tokenText)) {
            return *value;
        }
        references.Add(tokenText, locationCounter, lineNumber, Column());
        if (constantRequired) {
            RaiseError(1, AssemblerError::ExpectingValue, " Expecting number or constant symbol");
        }
        return 0;
    }
    if (IsNumber(kind)) {
        return ConvertNumber(tokenText, static_cast<int>(kind));
    }
    RaiseError(1, AssemblerError::ExpectingValue, " Expecting number or constant symbol");
}

const std::string& CParse::ExpectIdentifier() {
    if (GetToken() != TokenKind::Identifier) {
        RaiseError(1, AssemblerError::ExpectingIdentifier,
                   " Syntax Error: Expecting an identifier");
    }
    return tokenText;
}

void CParse::ExpectComma() {
    if (GetToken() != TokenKind::Comma) {
        RaiseError(1, AssemblerError::ExpectingComma, " Syntax Error: Expecting an identifier");
    }
}

void CParse::ParseDirective() {
    C8085Object& target = Machine();
    switch (directive.Number()) {
    case DirectiveNumber::Org:
        locationCounter = static_cast<std::uint16_t>(GetValue(true));
        break;
    case DirectiveNumber::Begin:
        target.SetStartAddress(static_cast<std::uint16_t>(GetValue(true)));
        break;
    case DirectiveNumber::Equ: {
        scratch = ExpectIdentifier();
        const TokenKind kind = GetToken();
        // Anything but a number (a comma, a name, the end of the line) defines nothing.
        if (IsNumber(kind)) {
            DefineSymbol(scratch, static_cast<std::uint16_t>(
                                      ConvertNumber(tokenText, static_cast<int>(kind))));
        }
        break;
    }
    case DirectiveNumber::Fill: {
        const auto start = static_cast<std::uint16_t>(GetValue(true));
        ExpectComma();
        const auto end = static_cast<std::uint16_t>(GetValue(true));
        ExpectComma();
        const auto value = static_cast<std::uint8_t>(GetValue(true));
        for (unsigned address = start; address < end; ++address) {
            target.WriteByte(static_cast<std::uint16_t>(address), value);
        }
        break;
    }
    case DirectiveNumber::SetByte: {
        const auto address = static_cast<std::uint16_t>(GetValue(true));
        ExpectComma();
        target.WriteByte(address, static_cast<std::uint8_t>(GetValue(true)));
        break;
    }
    case DirectiveNumber::SetWord: {
        const auto address = static_cast<std::uint16_t>(GetValue(true));
        ExpectComma();
        const auto word = static_cast<std::uint16_t>(GetValue(true));
        target.WriteTwoBytes(address, static_cast<std::uint8_t>(word),
                             static_cast<std::uint8_t>(word >> 8));
        // The memory pane marks the word by its first byte.
        target.lastWritten = address;
        break;
    }
    }
}

void CParse::ResolveReferences() {
    C8085Object& target = Machine();
    for (const UnresolvedReference& record : references.Records()) {
        const auto value = symbols.Find(record.name);
        if (!value) {
            throw CMyException(1, AssemblerError::UnresolvedSymbol,
                               "Line - " + std::to_string(record.line) + " Column - " +
                                   std::to_string(record.column) + "  Unresolved symbol <" +
                                   record.name + ">");
        }
        for (const std::uint16_t site : record.sites) {
            const auto low = static_cast<std::uint16_t>(site + 1);
            target.memory[low] = static_cast<std::uint8_t>(*value);
            target.memory[static_cast<std::uint16_t>(site + 2)] =
                static_cast<std::uint8_t>(*value >> 8);
            target.lastWritten = low;
        }
    }
}
