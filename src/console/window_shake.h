// The console window takes part in the game: it shakes while the room turns,
// and jerking it throws the loose objects inside the other way.
#pragma once
#include "platform/host.h"

// The window's rectangle at the previous step; all 0 at program start and
// kept across games.
extern HostRect lastWindowRect;

// Shakes the window for one second (the whole game stalls meanwhile) and puts
// it back where it stood.
void shakeWindow();
// Once per play-loop frame: a window moved down, left or right by 6-20 pixels
// since the last frame throws the loose objects the other way.
void windowShakeStep();
// Sets the velocity of every Player, Box, Soldier, Doll, Ozzle, Ninja and
// NinjaStar; Kisses, Platforms, Borders and Dummies are left alone.
void pushAllObjects(float vx, float vy);
