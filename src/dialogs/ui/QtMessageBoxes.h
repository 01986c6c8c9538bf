#pragma once

#include "dialogs/MessageBoxes.h"

class QWidget;

// Message boxes as QMessageBox, parented to the active window.
class QtMessageBoxes final : public MessageBoxes {
public:
    Answer Ask(const Box& box) override;
};
