#pragma once

#include "dialogs/MessageBoxes.h"

#include <deque>
#include <vector>

// Installed for its lifetime: records every box and answers each with the next queued answer, or
// with the box's default answer when none is queued.
class RecordingMessageBoxes final : public MessageBoxes {
public:
    RecordingMessageBoxes() : previous(Install(this)) {}
    ~RecordingMessageBoxes() override { Install(previous); }
    RecordingMessageBoxes(const RecordingMessageBoxes&) = delete;
    RecordingMessageBoxes& operator=(const RecordingMessageBoxes&) = delete;

    Answer Ask(const Box& box) override {
        shown.push_back(box);
        if (answers.empty()) {
            return DefaultAnswer(box.buttons);
        }
        Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Box> shown;
    std::deque<Answer> answers;

private:
    MessageBoxes* previous;
};
