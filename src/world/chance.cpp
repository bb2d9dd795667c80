#include "world/chance.h"

// An additive feedback generator over 31 numbers: each new number is the sum
// of the ones 31 and 3 places back, and the low bit is dropped.
static uint32_t table[31];
static int front = 3, rear = 0;

int chanceNext() {
    table[front] += table[rear];
    const int result = static_cast<int>(table[front] >> 1);
    front = (front + 1) % 31;
    rear = (rear + 1) % 31;
    return result;
}

void chanceSeedWith(uint32_t seed) {
    int32_t word = seed == 0 ? 1 : static_cast<int32_t>(seed);
    table[0] = static_cast<uint32_t>(word);
    // 16807 * word modulo 2^31 - 1, without overflowing 32 bits.
    for (int i = 1; i < 31; i++) {
        const int32_t hi = word / 127773, lo = word % 127773;
        word = 16807 * lo - 2836 * hi;
        if (word < 0)
            word += 2147483647;
        table[i] = static_cast<uint32_t>(word);
    }
    front = 3;
    rear = 0;
    // The first numbers still show the seed; they are thrown away.
    for (int i = 0; i < 310; i++)
        chanceNext();
}

static struct SeededAtStart {
    SeededAtStart() { chanceSeedWith(1); }
} seededAtStart;
