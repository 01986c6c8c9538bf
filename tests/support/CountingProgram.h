#pragma once

// A small program the compile, line map and source view tests share. Lines counted from 1:
// line 4 "inr a" is at 0x12, line 6 "cpi 3" at 0x13, line 8 "hlt" at 0x18; lines 1 and 5 are
// comments and have no code.
inline const char* const CountingProgram = "; counts A up to 3\n"
                                           "        .org 0x0010\n"
                                           "start:  mvi a, 0\n"
                                           "loop:   inr a\n"
                                           "        ; nothing here\n"
                                           "        cpi 3\n"
                                           "        jnz loop\n"
                                           "        hlt\n"
                                           "        .begin start\n";
