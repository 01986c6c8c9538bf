#pragma once

// A small program the app tests compile and run: it counts A up to 3 and halts. Counted from 1
// (the line map's way): line 4 "inr a" is at 0x12, line 6 "cpi 3" at 0x13, line 8 "hlt" at 0x18,
// and lines 1 and 5 are comments without code; the text buffer counts from 0 (3, 5, 7; 0 and 4).
inline const char* const CountingProgram = "; counts A up to 3\n"
                                           "        .org 0x0010\n"
                                           "start:  mvi a, 0\n"
                                           "loop:   inr a\n"
                                           "        ; nothing here\n"
                                           "        cpi 3\n"
                                           "        jnz loop\n"
                                           "        hlt\n"
                                           "        .begin start\n";
