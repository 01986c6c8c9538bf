#pragma once

#include <string>

// The one way the program asks the user something in a modal box. The desktop program installs a
// window implementation; tests install one that records each box and answers it, so no test ever
// waits for a person. With nothing installed every box is answered with its default button.
class MessageBoxes {
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    struct Box {
        std::string caption;
        std::string text;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        // Texts that replace those of the Yes and No buttons ("&Reload", "&Keep mine"); the
        // answers stay Yes and No. Empty keeps the usual texts.
        std::string yesText = {};
        std::string noText = {};
    };

    virtual ~MessageBoxes() = default;

    // Shows the box and waits for the answer. Called on the user-interface thread only.
    virtual Answer Ask(const Box& box) = 0;

    // The installed service. Install returns the one it replaces (null for the default).
    static MessageBoxes& Current();
    static MessageBoxes* Install(MessageBoxes* boxes);

    // Shorthands for the usual boxes.
    static Answer Ask(const std::string& caption, const std::string& text, Icon icon,
                      Buttons buttons) {
        return Current().Ask(Box{caption, text, icon, buttons});
    }
    static void Tell(const std::string& caption, const std::string& text, Icon icon) {
        Current().Ask(Box{caption, text, icon, Buttons::Ok});
    }

    // The answer given when a box is closed without choosing: Cancel where there is one, else No
    // for Yes/No, else OK.
    static Answer DefaultAnswer(Buttons buttons);
};
