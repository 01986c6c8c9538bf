#pragma once

#include <QIcon>

// The pictures of the main toolbar, drawn here so that they look the same on every desktop and
// stay sharp at any size.
namespace ToolbarIcons {
// The picture of command `id`; a lettered badge for a command without its own drawing.
QIcon For(int id);
} // namespace ToolbarIcons
