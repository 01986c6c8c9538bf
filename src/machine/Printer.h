#pragma once

#include <string>

class CancelSignal;

// The printer of the simulated machine. Failures are CMyException (code 30).
class Printer {
public:
    virtual ~Printer() = default;

    // Returns true once the text is handed over, false when `cancel` fired first (nothing or
    // only part of it went to the printer). Must return promptly once `cancel` fires.
    virtual bool PrintText(const std::string& text, const CancelSignal& cancel) = 0;
};
