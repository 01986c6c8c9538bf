#include "dialogs/MessageBoxes.h"

#include <atomic>

namespace {

class DefaultAnswers final : public MessageBoxes {
public:
    Answer Ask(const Box& box) override { return DefaultAnswer(box.buttons); }
};

DefaultAnswers defaultAnswers;
std::atomic<MessageBoxes*> installed{nullptr};

} // namespace

MessageBoxes& MessageBoxes::Current() {
    MessageBoxes* boxes = installed.load();
    return boxes != nullptr ? *boxes : defaultAnswers;
}

MessageBoxes* MessageBoxes::Install(MessageBoxes* boxes) {
    return installed.exchange(boxes);
}

MessageBoxes::Answer MessageBoxes::DefaultAnswer(Buttons buttons) {
    switch (buttons) {
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
        return Answer::Cancel;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::Ok:
        break;
    }
    return Answer::Ok;
}
