#include "frontend/front_end.h"
#include "console/surface_files.h"
#include "frontend/dialog.h"
#include "input/timers.h"
#include "world/hud.h"
#include <cstdio>
#include <cstdlib>

List PictureTable;
char *numberText = nullptr;

static const char *const picturePaths[PICTURE_COUNT] = {
    "data\\surfaces\\Numbers\\0.srf",    "data\\surfaces\\Numbers\\1.srf",
    "data\\surfaces\\Numbers\\2.srf",    "data\\surfaces\\Numbers\\3.srf",
    "data\\surfaces\\Numbers\\4.srf",    "data\\surfaces\\Numbers\\5.srf",
    "data\\surfaces\\Numbers\\6.srf",    "data\\surfaces\\Numbers\\7.srf",
    "data\\surfaces\\Numbers\\8.srf",    "data\\surfaces\\Numbers\\9.srf",
    "data\\surfaces\\ArrowBox.srf",      "data\\surfaces\\Arrows\\Up.srf",
    "data\\surfaces\\Arrows\\Right.srf", "data\\surfaces\\Arrows\\Left.srf",
    "data\\surfaces\\AngerBar.srf",      "data\\surfaces\\Controls.srf",
};

void destroyPictureEntry(void *item) {
    PictureEntry *entry = static_cast<PictureEntry *>(item);
    if (!entry)
        return;
    freeSurface(entry->picture);
    free(entry);
}

void PictureTable_Load() {
    for (int32_t n = 0; n < PICTURE_COUNT; n++) {
        PictureEntry *entry = static_cast<PictureEntry *>(calloc(1, sizeof(PictureEntry)));
        if (!entry)
            continue;
        // A missing picture keeps its place, so the numbers never shift.
        entry->picture = loadSurfaceFile(picturePaths[n]);
        listAppend(&PictureTable, entry);
        entry->number = n;
    }
    bonusElapsed = 0;
    if (!numberText)
        numberText = static_cast<char *>(calloc(11, 1));
}

void FrontEnd_Init() {
    listSetUp(&PictureTable, 20, static_cast<int32_t>(sizeof(PictureEntry)), destroyPictureEntry);
    PictureTable_Load();
    pausedTotal = 0;
    dialogQueue =
        Queue{0, static_cast<int32_t>(sizeof(DialogRecord)), nullptr, nullptr, Dialog_Destroy};
}

PictureEntry *getPicture(int32_t index) {
    if (index < 0 || index >= PictureTable.count)
        return nullptr;
    return static_cast<PictureEntry *>(PictureTable.items[index]);
}

Surface *pictureAt(int32_t index) {
    PictureEntry *entry = getPicture(index);
    return entry ? entry->picture : nullptr;
}

void FrontEnd_Shutdown() {
    Dialog_ClearAll();
    free(numberText);
    numberText = nullptr;
    if (PictureTable.items)
        listDestroyAll(&PictureTable);
}
