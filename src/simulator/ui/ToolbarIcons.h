#pragma once

#include <QIcon>

// The picture of a simulator toolbar button: `name` is its file in the resources, without the
// ".svg" (a play triangle for "run", arrows for the steps, a square for "stop", and so on).
QIcon ToolbarIcon(const char* name);
