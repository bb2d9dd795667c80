// The game's chance: the C library's rand() and srand(), written out here so
// that a seed gives the same numbers on every system (Windows' own rand()
// counts differently from the GNU C library's, whose sequence this is).
#pragma once
#include <cstdint>

// Starts the sequence again from `seed`, as srand() does.
void chanceSeedWith(uint32_t seed);
// The next number of the sequence, 0 to 2^31 - 1, as rand() gives it.
int chanceNext();
