#include "anim/animation_library.h"
#include "console/surface_files.h"
#include "editor/editor.h"
#include "input/keyboard.h"
#include "objects/collision.h"
#include "world/object_access.h"
#include "world/object_list.h"
#include <cstring>

static const char *const ERASER_PATH = "data\\surfaces\\Eraser.srf";

EditorTool toolTable[TOOL_COUNT] = {
    {"Player", KIND_PLAYER, SET_PLAYER, nullptr},
    {"Box", KIND_BOX, SET_BOX, nullptr},
    {"Soldier", KIND_SOLDIER, SET_SOLDIER, nullptr},
    {"Platform", KIND_PLATFORM, SET_PLATFORM, nullptr},
    {"Doll", KIND_DOLL, SET_DOLL, nullptr},
    {"Ninja", KIND_NINJA, SET_NINJA, nullptr},
    {"Ozzle", KIND_OZZLE, SET_OZZLE, nullptr},
    {"Dummy", KIND_DUMMY, SET_DUMMY, nullptr},
    {"Eraser", 0, -1, nullptr},
};

int32_t selectedTool = 0;

// A copy of the picture a new object of the set shows first, so the preview
// is what a click will place. Null when the set has no frame.
static Surface *firstFramePicture(int32_t set) {
    const Frame *frame = lookupFrame(AnimRef{set, 0, 0, 0});
    if (!frame || !frame->picture || !frame->picture->cells)
        return nullptr;
    const Surface *source = frame->picture;
    Surface *copy = createSurface(source->width, source->height);
    if (copy && copy->cells)
        memcpy(copy->cells, source->cells, sizeof(Cell) * source->width * source->height);
    return copy;
}

void loadToolPictures() {
    freeToolPictures();
    for (EditorTool &tool : toolTable)
        tool.picture = tool.kind ? firstFramePicture(tool.set) : loadSurfaceFile(ERASER_PATH);
}

void freeToolPictures() {
    for (EditorTool &tool : toolTable) {
        freeSurface(tool.picture);
        tool.picture = nullptr;
    }
}

void placeTool(MouseEventRecord) {
    if (selectedTool < 0 || selectedTool >= TOOL_COUNT)
        return;
    // The room point one cell up and left of the mouse is drawn at the mouse
    // cell, so the object's corner lands where the author clicked.
    const float x = static_cast<float>(lastMousePos.x - 1);
    const float y = static_cast<float>(lastMousePos.y - 1);
    if (selectedTool == ERASER_TOOL)
        eraseAt(x, y);
    else
        createObject(toolTable[selectedTool].kind, x, y, 0, 0);
}

void eraseAt(float x, float y) {
    ObjectNode *node = objectList;
    while (node) {
        ObjectNode *next = node->next;
        // Nothing in the editor keeps the boxes' far corners up to date.
        updateObjectBounds(node);
        const ObjectBox *box = objectBox(node);
        if (box && box->x <= x && x <= box->x2 && box->y <= y && y <= box->y2)
            destroyNow(node);
        node = next;
    }
}
