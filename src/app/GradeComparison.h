#pragma once

#include "app/GradeCase.h"

#include <optional>
#include <string>

class C8085Object;
class GradeDevices;

// Compares the end of one run with what its case expects, in a fixed order (stop, registers,
// flags, memory, ports, LED cells, printed text, COM1, COM2, beeps), and tells the first
// difference as "memory[0x2000] = 0x05, expected 0x07". Only what the case names is compared.
class GradeComparison {
public:
    static std::optional<std::string> FirstDifference(const GradeCase::Expectations& expect,
                                                      GradeCase::Stop stop,
                                                      const C8085Object& machine,
                                                      const GradeDevices& devices);

    // The value of `name` in `machine`.
    static std::uint16_t RegisterValue(const C8085Object& machine, GradeCase::Register name);
    static std::uint8_t FlagMask(GradeCase::Flag name);
    // `bytes` as a quoted C-style text: printable ASCII as is, \r \n \t \" \\ and \xNN.
    static std::string Quoted(const std::string& bytes);
    // "what = "got", expected "want"", around the first differing byte when the texts are long.
    static std::string TextDifference(const std::string& what, const std::string& got,
                                      const std::string& want);
};
