#pragma once

#include "assembler/CLex.h"
#include "assembler/CdebugData.h"
#include "assembler/DirectiveLookup.h"
#include "assembler/LineReader.h"
#include "assembler/OperandReader.h"
#include "assembler/PlainDirectives.h"
#include "assembler/ReferenceList.h"
#include "assembler/SymbolTable.h"
#include "machine/CMyException.h"
#include "machine/InstructionSet.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

class C8085Object;

// The 8085 assembler. One pass over a ".85" source, each instruction assembled straight into the
// memory of the attached machine at the location counter; labels, ".equ", EQU and SET names go
// into the symbol table. Operands are expressions (OperandReader); a value naming something defined
// further on is patched once the whole file has been read, except where it decides where bytes go
// (.org, .equ, .fill, the address of .setbyte and .setword, ORG, DS, EQU, SET), which must be known
// when read. Directives come with a dot (.org ...) or without one (ORG, DB ..., PlainDirectives).
// While compiling, one line-map record per instruction goes to the ".debug" file beside the source
// (prog.85 -> prog.85.debug), or to the user's cache folder when the source's folder may not be
// written (see SetLineMapPlace); directives, data included, have none.
//
// The first error ends the assembly: it is thrown as a CMyException whose message starts with
// "Line - L Column - C " (column 0 at the end of a line), and whatever was written into memory
// before it stays written.
//
// Typical use:
//     CParse parser;
//     parser.Attach(machine);           // once
//     machine.Reset();
//     parser.Compile("prog.85");        // throws CMyException on the first error
//     lineMap.Open(parser.GetDebugPath(), "rt");
//     lineMap.Load();
class CParse : public CLex {
public:
    CParse();
    CParse(const CParse&) = delete;
    CParse& operator=(const CParse&) = delete;
    ~CParse() override;

    // The machine whose memory and start address the assembler writes. Not owned; must outlive
    // the assembler or be attached again.
    void Attach(C8085Object& machine);

    // While compiling, loads the next source line (in pieces of at most maxLineLength characters,
    // each counted as a line) when the current one is used up.
    TokenKind GetToken() override;
    // "Line - L Column - C " for the current token.
    std::string PositionText() override;
    // Whether `word` is an 8085 mnemonic (ignoring case); remembers its opcode-table row.
    bool IsMnemonic(const std::string& word) override;

    // Assembles the statements of one line (at most maxLineLength characters of `text`): labels,
    // then instructions and directives one after the other, then a comment. Returns EndOfLine.
    virtual TokenKind ParseLine(std::string_view text);

    // Assembles the file at `path` into the attached machine and writes its ".debug" file.
    // Returns 0, or throws the first error as CMyException, a copy of which GetLastError() keeps.
    // Files are closed on every path out. Codes: 19 empty path; 20 the source cannot be opened
    // or read (only a regular file can, and opening never waits on a named pipe), or the
    // ".debug" file cannot be written; and every code of the lexer, parser, symbols and
    // directives.
    virtual int Compile(const std::string& path);

    // Where Compile writes the line map.
    enum class LineMapPlace {
        // Beside the source; when its folder may not be written, in the user's cache folder
        // (LineMapLocation). The default.
        BesideSource,
        // At the path given to SetLineMapPlace, and nowhere else.
        ChosenPath,
        // Nowhere: nothing is written at all.
        NoFile,
    };
    void SetLineMapPlace(LineMapPlace place, std::string chosenPath = {});

    // Assembles one line at `address` without a ".debug" record, starting from an empty symbol
    // table. An unknown name in a 16-bit address counts as 0 and is never patched; anywhere else
    // it raises code 14, as there is no further on.
    TokenKind AssembleLine(std::uint16_t address, std::string_view text);

    // The ".debug" path the last Compile wrote (empty with LineMapPlace::NoFile); kept after it
    // ended.
    const std::string& GetDebugPath() const { return debugPath; }
    // Whether the last Compile put the line map in the user's cache folder because the source's
    // folder may not be written.
    bool LineMapInCache() const { return lineMapInCache; }
    // The error that ended the last Compile; "No Error" before any failure.
    const CMyException& GetLastError() const { return lastError; }

    const SymbolTable& Symbols() const { return symbols; }
    const ReferenceList& References() const { return references; }
    std::uint16_t LocationCounter() const { return locationCounter; }

private:
    // Register values; a set of allowed registers is the sum of its members. The accumulator is
    // 0, so no set can hold it.
    enum Register : int {
        RegA = 0,
        RegB = 2,
        RegC = 4,
        RegD = 8,
        RegE = 16,
        RegH = 32,
        RegL = 64,
        RegSp = 128,
        RegPsw = 256,
        RegM = 512,
    };
    static constexpr int anyRegister = -1;

    void Reset();
    void OpenFiles(const std::string& path);
    void OpenLineMap();
    void CloseFiles();
    void ParseCurrentLine();
    void ParseStatement(TokenKind kind);
    void ParseInstruction();
    void ParseDirective();
    void ParseWord();
    bool TakeDefinitionWord(bool& redefinable);
    void DefineSymbol(const std::string& name, std::uint16_t value);
    void ResolveReferences();

    int ParseRegister(int allowed);
    static int RegisterCode(int value);
    const std::string& ExpectIdentifier();
    void ExpectComma();
    void RaiseMisplaced(TokenKind kind);

    C8085Object& Machine();

    std::uint16_t locationCounter = 0;
    std::string sourcePath;
    std::string debugPath;
    LineMapPlace lineMapPlace = LineMapPlace::BesideSource;
    std::string chosenLineMapPath;
    bool lineMapInCache = false;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> sourceFile{nullptr, &std::fclose};
    LineReader sourceReader;
    std::string piece;
    bool compiling = false;
    bool endOfFile = false;
    bool ended = false; // END was read: the rest of the source is ignored
    CMyException lastError;
    CdebugData lineMapWriter;
    InstructionSet instructionSet;
    DirectiveLookup directive;
    SymbolTable symbols;
    ReferenceList references;
    OperandReader operands{*this, symbols, references, compiling};
    PlainDirectives plainDirectives{*this, operands, symbols};
    C8085Object* machine = nullptr;
    std::string scratch;
    CLex::State lookahead;
};
