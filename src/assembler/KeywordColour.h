#pragma once

// Anything the source view colours by keyword class answers with one colour index of the text view.
class KeywordColour {
public:
    virtual ~KeywordColour() = default;
    virtual int ColourIndex() const = 0;
};
