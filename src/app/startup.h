// Start-up and shutdown of the program's long-lived resources.
#pragma once
#include "app/states.h"

int startUp(ScreenState *state);
void shutDown();
// Frees the back buffer; installed as the exit hook.
void releaseBackBuffer(ScreenState *state);
