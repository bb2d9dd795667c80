// Story dialogs: text boxes with a portrait, shown one at a time over the play
// field at the start of a level, read from the level's .dlg script.
#pragma once
#include "anim/containers.h"
#include "console/surface.h"
#include "input/timers.h"
#include <cstdint>

struct DialogRecord {
    Surface *picture; // null when its file did not load: the box is then invisible
    char *text;       // still to be written into the picture; null once written
    int32_t wrapWidth;
    int32_t width;
    int32_t height;
    int32_t x;
    int32_t y;
};

// Boxes waiting to be shown; the one on screen is `currentDialog`.
extern Queue dialogQueue;
extern DialogRecord *currentDialog;
extern Stopwatch dialogTimer;

// How long a box stays without Enter.
constexpr double DIALOG_SHOW_MS = 10000.0;

void Dialog_LoadScript(const char *path);
void Dialog_Start();
void Dialog_Update();
DialogRecord *Dialog_Create(DialogRecord *record, const char *picturePath, const char *text,
                            int32_t x, int32_t y);
DialogRecord *Dialog_AddPortrait(const char *path, DialogRecord *record, int32_t px, int32_t py);
void Dialog_RenderText(DialogRecord *record);
void Dialog_Destroy(void *record);
// Destroys the box on screen and every waiting one.
void Dialog_ClearAll();
// Draws the box on screen (writing its text first) while any box is waiting.
void Dialog_Draw();
