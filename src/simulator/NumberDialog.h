#pragma once

#include <optional>
#include <string>

class CancelSignal;

// The window side of the number prompt: a modal dialog with a prompt text and one edit field,
// and warning boxes captioned "Zorvan". The desktop program and the command-line runner each
// provide one.
class NumberDialog {
public:
    virtual ~NumberDialog() = default;

    // Shows the dialog with `promptText` and the edit field holding `text`. Returns the edited
    // text on "Done", std::nullopt on "Cancel", on closing, or once `cancel` fires.
    virtual std::optional<std::string> Show(const std::string& promptText, const std::string& text,
                                            const CancelSignal& cancel) = 0;

    // A warning box captioned "Zorvan"; returns when the user closes it or once `cancel` fires
    // (so a box left open never holds a run that Stop or Close is ending).
    virtual void ShowWarning(const std::string& message, const CancelSignal& cancel) = 0;
};
