#include "assembler/CParse.h"

#include "assembler/LineMapLocation.h"
#include "assembler/MnemonicIndex.h"
#include "assembler/OperandForm.h"
#include "assembler/SourceChar.h"
#include "files/RegularFile.h"
#include "files/UserFolders.h"
#include "machine/C8085Object.h"
#include "machine/OpcodeRow.h"
#include "machine/OpcodeTable.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

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
    positionText = PositionTextAt(lineNumber, Column());
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
    operands.Clear();
    plainDirectives.Clear();
    ended = false;
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
    while (!ended) {
        const TokenKind kind = GetToken();
        if (kind == TokenKind::EndOfLine) {
            break;
        }
        ParseStatement(kind);
    }
}

void CParse::ParseStatement(TokenKind kind) {
    switch (kind) {
    case TokenKind::Label: {
        bool redefinable = false;
        if (!TakeDefinitionWord(redefinable)) {
            DefineSymbol(tokenText, locationCounter);
            break;
        }
        // name: EQU value
        scratch = lookahead.text;
        operands.StartStatement(locationCounter);
        plainDirectives.Define(scratch, redefinable);
        break;
    }
    case TokenKind::Identifier:
        ParseWord();
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
        RaiseMisplaced(kind);
        RaiseError(1, AssemblerError::SyntaxError, "Syntax Error");
    }
}

// A statement starting with a word that is no mnemonic: "name EQU value", "name SET value", or a
// directive without the dot. Anything else is the syntax error it always was.
void CParse::ParseWord() {
    bool redefinable = false;
    if (TakeDefinitionWord(redefinable)) {
        scratch = lookahead.text;
        operands.StartStatement(locationCounter);
        plainDirectives.Define(scratch, redefinable);
        return;
    }
    const PlainDirectives::Word word = PlainDirectives::StatementWord(tokenText);
    if (word == PlainDirectives::Word::None) {
        RaiseError(1, AssemblerError::SyntaxError, "Syntax Error");
    }
    operands.StartStatement(locationCounter);
    plainDirectives.Carry(word, Machine(), locationCounter);
    if (word == PlainDirectives::Word::End) {
        // The rest of the line and of the file is not read.
        ended = true;
        endOfFile = true;
    }
}

// After a name: reads the EQU or SET that follows it, keeping the name in lookahead.text, or
// leaves the line as it was.
bool CParse::TakeDefinitionWord(bool& redefinable) {
    const char next = SourceChar::ToLower(NextCharacter());
    if (next != 'e' && next != 's') {
        return false;
    }
    Save(lookahead);
    if (GetToken() == TokenKind::Identifier &&
        PlainDirectives::IsDefinition(tokenText, redefinable)) {
        return true;
    }
    Restore(lookahead);
    return false;
}

// The characters that had no place in the language before operands took expressions still have
// none outside them, and are reported as they always were.
void CParse::RaiseMisplaced(TokenKind kind) {
    if (kind == TokenKind::Operator || kind == TokenKind::Here || kind == TokenKind::Text) {
        RaiseError(1, LexError::SyntaxError, "NextToken : Syntax Error");
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
    const auto next = static_cast<std::uint16_t>(at + 1);
    operands.StartStatement(at);
    const auto byte = [](int value) { return static_cast<std::uint8_t>(value); };

    switch (FormOfKind(row.kind)) {
    case OperandForm::None:
        target.WriteByte(at, byte(opcode));
        break;
    case OperandForm::Immediate8:
        target.WriteTwoBytes(at, byte(opcode), byte(operands.Later(FixupList::Kind::Byte, next)));
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
        target.WriteTwoBytes(at, byte(opcode + 8 * code),
                             byte(operands.Later(FixupList::Kind::Byte, next)));
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
        const std::uint16_t value = operands.Later(FixupList::Kind::Word, next);
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
        const std::uint16_t number = operands.Later(FixupList::Kind::Restart, at);
        if (number > 7) {
            RaiseError(1, AssemblerError::IllegalRst, "Illegal RST instruction");
        }
        target.WriteByte(at, byte(opcode + 8 * number));
        break;
    }
    case OperandForm::Address16:
        target.WriteByteAndWord(at, byte(opcode), operands.Address(next));
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

const std::string& CParse::ExpectIdentifier() {
    if (const TokenKind kind = GetToken(); kind != TokenKind::Identifier) {
        RaiseMisplaced(kind);
        RaiseError(1, AssemblerError::ExpectingIdentifier,
                   " Syntax Error: Expecting an identifier");
    }
    return tokenText;
}

void CParse::ExpectComma() {
    if (const TokenKind kind = GetToken(); kind != TokenKind::Comma) {
        RaiseMisplaced(kind);
        RaiseError(1, AssemblerError::ExpectingComma, " Syntax Error: Expecting an identifier");
    }
}

void CParse::ParseDirective() {
    C8085Object& target = Machine();
    operands.StartStatement(locationCounter);
    switch (directive.Number()) {
    case DirectiveNumber::Org:
        locationCounter = operands.Known();
        break;
    case DirectiveNumber::Begin:
        operands.StartAddress(target);
        break;
    case DirectiveNumber::Equ: {
        scratch = ExpectIdentifier();
        // A value starting with a name (or a comma, or nothing) is consumed and defines nothing,
        // as it always did.
        Save(lookahead);
        const TokenKind kind = GetToken();
        if (kind == TokenKind::Identifier || kind == TokenKind::Comma ||
            kind == TokenKind::EndOfLine || kind == TokenKind::Comment ||
            kind == TokenKind::Label || kind == TokenKind::Mnemonic ||
            kind == TokenKind::Directive || kind == TokenKind::Colon) {
            break;
        }
        Restore(lookahead);
        DefineSymbol(scratch, operands.Known());
        break;
    }
    case DirectiveNumber::Fill: {
        const std::uint16_t start = operands.Known();
        ExpectComma();
        const std::uint16_t end = operands.Known();
        ExpectComma();
        const auto value = static_cast<std::uint8_t>(operands.Known());
        for (unsigned address = start; address < end; ++address) {
            target.WriteByte(static_cast<std::uint16_t>(address), value);
        }
        break;
    }
    case DirectiveNumber::SetByte: {
        const std::uint16_t address = operands.Known();
        ExpectComma();
        target.WriteByte(address,
                         static_cast<std::uint8_t>(operands.Later(FixupList::Kind::Byte, address)));
        break;
    }
    case DirectiveNumber::SetWord: {
        const std::uint16_t address = operands.Known();
        ExpectComma();
        const std::uint16_t word = operands.Later(FixupList::Kind::Word, address);
        target.WriteTwoBytes(address, static_cast<std::uint8_t>(word),
                             static_cast<std::uint8_t>(word >> 8));
        // The memory pane marks the word by its first byte.
        target.lastWritten = address;
        break;
    }
    }
}

// Records in the order of their first use: the first name never defined ends the assembly;
// otherwise the fixups waiting for each record are applied when it has its value.
void CParse::ResolveReferences() {
    C8085Object& target = Machine();
    FixupList& fixups = operands.Fixups();
    const std::vector<std::size_t> order = fixups.ApplyOrder();
    const auto& records = references.Records();
    std::vector<std::uint16_t> values(records.size(), 0);
    std::size_t next = 0;
    for (std::size_t index = 0; index < records.size(); ++index) {
        const UnresolvedReference& record = records[index];
        const auto value = symbols.Find(record.name);
        if (!value) {
            throw CMyException(1, AssemblerError::UnresolvedSymbol,
                               "Line - " + std::to_string(record.line) + " Column - " +
                                   std::to_string(record.column) + "  Unresolved symbol <" +
                                   record.name + ">");
        }
        values[index] = *value;
        for (;
             next < order.size() && fixups.Entries()[order[next]].record == static_cast<int>(index);
             ++next) {
            fixups.Apply(fixups.Entries()[order[next]], values, target);
        }
    }
}
