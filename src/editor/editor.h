// The level editor: the play field with the level being built, the objects
// placed with the mouse, the room turned with the arrows, a recorded turn
// sequence, the level's bonus time, and levels loaded and saved.
#pragma once
#include "console/surface.h"
#include "frontend/screen_state.h"
#include "platform/host.h"
#include <cstdint>

constexpr int TOOL_COUNT = 9;
constexpr int ERASER_TOOL = 8;
constexpr int RECORDED_TURN_SLOTS = 10;

struct EditorTool {
    const char *name;
    int32_t kind;     // what a click makes; 0 for the eraser
    int32_t set;      // the animation set whose first frame is the tool's picture
    Surface *picture; // owned by the editor while it runs
};

extern EditorTool toolTable[TOOL_COUNT];
extern int32_t selectedTool;
extern Surface *editorBackground;
extern Surface *toolboxPicture;

// Kept for the whole run, across visits to the editor.
extern int32_t editorLevelTime;
extern int32_t recordedTurns[RECORDED_TURN_SLOTS];
extern int32_t turnCursor;
extern int32_t recordedTurnCount;
extern int32_t pendingTurn;
extern int32_t editorLevelIndex;

// The window titles the editor shows.
extern const char *const EDITOR_TITLE;
extern const char *const GAME_TITLE;

// The editor screen (state 7): runs until Escape is confirmed, then leaves
// for the menu.
void runEditor(ScreenState *state);
void enterEditor();
void leaveEditor();
void drawEditor();
void drawTurnPanel();

// Input handlers, installed while the editor runs.
void placeTool(MouseEventRecord record);
void updateEditorTitle(MouseEventRecord record);
void editorKey(KeyEventRecord record);

// Tool pictures: the first frame of each kind's animation, and the eraser.
void loadToolPictures();
void freeToolPictures();
// Removes every object whose box holds the point (edges included).
void eraseAt(float x, float y);

void stepTurnForward();
void stepTurnBack();
void recordTurn();
void loadNextLevelIntoEditor();

// Asks for the level's bonus time: the seconds typed, 0 for an empty field,
// or -1 when cancelled.
int32_t levelTimeDialog();
