#pragma once

#include <QIcon>

// The pictures of the main toolbar, drawn as SVG files in the resources so that they stay sharp
// at any size.
namespace ToolbarIcons {
// The file of command `id`'s picture in the resources; empty for a command without one.
QString FileOf(int id);
// The picture of command `id`; a null icon for a command without one.
QIcon For(int id);
} // namespace ToolbarIcons
