#pragma once

#include <string>

// The printer of the simulated machine. Failures are CMyException (code 30).
class Printer {
public:
    virtual ~Printer() = default;

    virtual void PrintText(const std::string& text) = 0;
};
