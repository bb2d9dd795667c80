// The front end's start-up: the numbered pictures of the HUD and the
// high-score page, the number text buffer, the dialog queue.
#pragma once
#include "anim/containers.h"
#include "console/surface.h"
#include <cstdint>

struct PictureEntry {
    int32_t number;
    Surface *picture; // null when its file did not load: drawn as nothing
};

enum PictureNumber : int32_t {
    PICTURE_DIGIT_0 = 0, // 0-9 the digits
    PICTURE_ARROW_BOX = 10,
    PICTURE_ARROW_UP = 11,
    PICTURE_ARROW_RIGHT = 12,
    PICTURE_ARROW_LEFT = 13,
    PICTURE_ANGER_BAR = 14,
    PICTURE_CONTROLS = 15,
    PICTURE_COUNT = 16,
};

extern List PictureTable;
extern char *numberText; // 11 bytes: ten digits and the terminator

void FrontEnd_Init();
void PictureTable_Load();
// The entry at an index, or null at or beyond the table's count.
PictureEntry *getPicture(int32_t index);
// The picture of an entry, or null when there is none.
Surface *pictureAt(int32_t index);
void destroyPictureEntry(void *entry);
// Frees the table, the number text and the dialog queue at shutdown.
void FrontEnd_Shutdown();
