#pragma once

// Moved to dialogs/: kept only for the simulator window's files that still include it here.
#include "dialogs/MessageBoxes.h"
