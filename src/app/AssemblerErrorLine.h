#pragma once

#include <string>

class CMyException;

// An assembler error as compilers print them, "FILE:LINE:COLUMN: error: MESSAGE (code N)", with
// the message freed of its "Line - L Column - C " position text. Errors without a position give
// "FILE: error: MESSAGE (code N)".
class AssemblerErrorLine {
public:
    static std::string Format(const std::string& file, const CMyException& error);
};
