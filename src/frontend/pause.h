// The pause screen: the game freezes under a still copy of the play field;
// volume, resume, quit to the menu, or restart the level for a credit.
#pragma once
#include "frontend/dialog.h"
#include "input/timers.h"

extern int32_t pausedFlag;
extern Stopwatch pauseRedrawTimer;

// Once per play frame: P or Esc released opens the pause.
void Pause_Check();
void Pause_Run(DialogRecord *pause);
