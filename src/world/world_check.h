// A check for long runs and soak tests: after every frame, each object's
// position must be a finite number inside the room, give or take a margin.
// It only reads the world; the game plays the same with it on or off.
#pragma once

// Set by --check-world.
extern bool worldChecks;
// How far outside the room an object's corner may be before it counts as lost.
constexpr float WORLD_CHECK_MARGIN = 8.0f;
// Called with a non-zero exit code when the check fails (the program ends there).
extern void (*worldCheckFailed)(int exitCode);
constexpr int WORLD_CHECK_EXIT = 4;

// Says on standard error which object is wrong and where; false then.
bool worldIsSound();
// The check of one frame, when turned on: a failure ends the program.
void checkWorld();
