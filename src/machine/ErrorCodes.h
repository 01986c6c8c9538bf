#pragma once

// Every code a CMyException can carry, in one place: the machine's stops and devices, the
// lexer, the parser with its symbol table and directives, and the line map. Some numbers are
// shared on purpose (the same error raised by two parts).

// Stops of the machine and errors of its devices.
namespace StopCode {
constexpr int IllegalInstruction = 1;
constexpr int BadSystemCall = 9;
constexpr int StepOutEnd = 10;
constexpr int LedRange = 24;
constexpr int Breakpoint = 25;
constexpr int Halt = 26;
constexpr int SerialOpen = 27;
constexpr int SerialIo = 28;
constexpr int Printing = 30;
constexpr int NoSourceLine = 31;
// A blocking device wait (number prompt, serial read or write, delay, beep, printer port) was
// cancelled because the user stopped or closed the run. Silent like a breakpoint; pc stays on
// the CALL, so running again repeats the system call.
constexpr int Cancelled = 32;
} // namespace StopCode

// The lexer's errors.
namespace LexError {
constexpr int IllegalBinary = 5;
constexpr int IllegalOctal = 6;
constexpr int IllegalHex = 7;
constexpr int SyntaxError = 13;
} // namespace LexError

// The parser's, the symbol table's and the directives' errors. Every one is a CMyException with
// errorFlag 1 whose message starts with "Line - L Column - C ".
namespace AssemblerError {
constexpr int IllegalDirective = 2;
constexpr int IllegalRegister = 3;
constexpr int IllegalRst = 8;
constexpr int DuplicateSymbol = 11;
constexpr int UnresolvedSymbol = 12;
constexpr int SyntaxError = LexError::SyntaxError; // the same error, raised by the parser
constexpr int ExpectingValue = 14;
constexpr int ExpectingIdentifier = 16;
constexpr int ExpectingComma = 17;
constexpr int EmptyFileName = 19;
constexpr int CannotOpen = 20;
constexpr int SymbolTableOverflow = 21;
// Errors of the operand expressions and strings.
constexpr int MissingQuote = 40;
constexpr int DivisionByZero = 41;
constexpr int MissingParenthesis = 42;
constexpr int CharacterConstant = 43;
} // namespace AssemblerError

// The line map's errors (reading and writing the ".debug" file, looking lines up).
namespace LineMapError {
constexpr int EmptyFileName = AssemblerError::EmptyFileName;
constexpr int CannotOpen = AssemblerError::CannotOpen;
constexpr int NoSourceLine = StopCode::NoSourceLine;
} // namespace LineMapError
