// A room for testing the object kinds: the animation library, the handlers
// and the four walls, updated in steps of 20 ms of game clock.
#pragma once
#include "test_support.h"
#include "world/object_list.h"
#include "world/object_records.h"

struct PlayField {
    explicit PlayField(const std::string &script = "");
    ~PlayField();
    HeadlessGame game;
    TempDir data; // a private data root: the game's data, its own high-score file
    // Runs `updates` play frames of 20 ms each.
    void step(int updates = 1);
    template <typename Record>
    Record *add(int32_t kind, float x, float y, double a = 0, double b = 0) {
        return static_cast<Record *>(createObject(kind, x, y, a, b)->record);
    }
};

int countKind(int32_t kind);
ObjectNode *firstOfKind(int32_t kind);
template <typename Record> Record *first(int32_t kind) {
    ObjectNode *n = firstOfKind(kind);
    return n ? static_cast<Record *>(n->record) : nullptr;
}
