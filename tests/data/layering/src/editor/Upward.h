#pragma once

// Read by the layering test, never compiled: the editor links nothing of the machine.
#include "editor/CTextBuffer.h"
#include "machine/C8085Object.h"
