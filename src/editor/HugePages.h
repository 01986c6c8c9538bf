#pragma once

#include <cstddef>

// Asks the system to back the large, not yet touched block at `start` with large pages where
// it can. Touching fresh memory costs one page fault per page; for a file of tens of megabytes
// those faults cost more than reading and cutting the text, and large pages divide their
// number by 512. Only a hint: blocks under a few megabytes are left alone, and a refusal is
// harmless.
void AdviseHugePages(void* start, std::size_t size);
