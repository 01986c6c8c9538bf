#pragma once

#include <QIcon>
#include <QString>

// The pictures of the simulator window's toolbar buttons, drawn here so that the program needs
// no image files: a play triangle for Run, arrows for the steps, a square for Stop, and so on.
QIcon ToolbarIcon(const QString& command);
