#include "editor/editor.h"
#include "anim/animation_library.h"
#include "console/console_setup.h"
#include "console/message_box.h"
#include "console/surface_files.h"
#include "frontend/dialog.h"
#include "input/keyboard.h"
#include "input/timers.h"
#include "world/hud.h"
#include "world/levels.h"
#include "world/object_list.h"
#include "world/play_loop.h"
#include <cstdio>

const char *const EDITOR_TITLE = "Wobblewick! - Editor Mode (ESC to return to menu)";
const char *const GAME_TITLE = "Wobblewick!";

static const char *const BACKGROUND_PATH = "data\\surfaces\\EBG.srf";
static const char *const TOOLBOX_PATH = "data\\surfaces\\Toolbox.srf";

Surface *editorBackground = nullptr;
Surface *toolboxPicture = nullptr;

// The room's inside, where the preview follows the mouse.
constexpr int PREVIEW_FIRST = 3;
constexpr int PREVIEW_LAST = 83;
constexpr int TOOLBOX_X = 90;
constexpr int TOOLBOX_Y = 5;
constexpr int TURN_PANEL_X = 90;
constexpr int TURN_PANEL_Y = 40;
// Each pass of the editor gives the processor back this long.
constexpr uint32_t PASS_IDLE_MS = 5;

void enterEditor() {
    loadAnimationLibrary();
    clearScreen();
    presentScreen();
    editorBackground = loadSurfaceFile(BACKGROUND_PATH);
    onLeftButton = placeTool;
    onMouseMove = updateEditorTitle;
    onKey = editorKey;
    toolboxPicture = loadSurfaceFile(TOOLBOX_PATH);
    setWindowTitle(EDITOR_TITLE);
}

void leaveEditor() {
    clearObjects();
    // Levels looked at with O leave their turns and story boxes behind; the
    // next game must not start with them.
    clearRotationSequence();
    ozzleLevel = 0;
    Dialog_ClearAll();
    onLeftButton = nullptr;
    onMouseMove = nullptr;
    onKey = nullptr;
    freeSurface(toolboxPicture);
    toolboxPicture = nullptr;
    freeSurface(editorBackground);
    editorBackground = nullptr;
    freeToolPictures();
    setWindowTitle(GAME_TITLE);
}

void drawTurnPanel() {
    for (int i = 0; i < RECORDED_TURN_SLOTS; i++) {
        const bool current = i == turnCursor;
        const uint16_t digit = current ? colourToAttribute(1, 5) : colourToAttribute(0, 2);
        const uint16_t mark = current ? colourToAttribute(4, 5) : colourToAttribute(2, 2);
        Cell *row = backBuffer->cells + (TURN_PANEL_Y + i) * backBuffer->width;
        row[TURN_PANEL_X] = Cell{static_cast<uint16_t>('0' + i), digit};
        row[TURN_PANEL_X + 1] = Cell{static_cast<uint16_t>(recordedTurns[i] ? 'S' : ' '), mark};
    }
}

void drawEditor() {
    if (!backBuffer)
        return;
    clearScreen();
    blitSurface(editorBackground, 0, 0);
    drawObjects();
    const CellPosition mouse = lastMousePos;
    if (mouse.x >= PREVIEW_FIRST && mouse.x <= PREVIEW_LAST && mouse.y >= PREVIEW_FIRST &&
        mouse.y <= PREVIEW_LAST && selectedTool >= 0 && selectedTool < TOOL_COUNT)
        blitSurface(toolTable[selectedTool].picture, mouse.x, mouse.y);
    drawTurnPanel();
    char text[32];
    snprintf(text, sizeof text, "Time: %d", editorLevelTime);
    drawEditorText(text);
    blitSurface(toolboxPicture, TOOLBOX_X, TOOLBOX_Y);
}

void updateEditorTitle(MouseEventRecord record) {
    char title[96];
    snprintf(title, sizeof title, "%s - Pos: [%3i,%3i]", EDITOR_TITLE, record.x - 3, record.y - 3);
    setWindowTitle(title);
}

void runEditor(ScreenState *state) {
    state->previous = state->current;
    enterEditor();
    selectedTool = 0;
    loadToolPictures();
    bool done = false;
    // A close of the whole program (the state changes under us) ends it too.
    while (!done && state->current == state->previous) {
        if (keyHeld(VK_ESCAPE) && messageBox("Ya sure 'bout dat?!", "Huhhhhh?????",
                                             MB_YESNO | MB_ICONEXCLAMATION) == IDYES)
            done = true;
        pumpConsoleInput();
        drawEditor();
        presentScreen();
        idleFor(PASS_IDLE_MS);
    }
    leaveEditor();
    clearScreen();
    presentScreen();
    if (state->current == state->previous)
        state->current = STATE_MENU;
}
