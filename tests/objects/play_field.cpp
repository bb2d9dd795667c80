#include "play_field.h"
#include "anim/animation_library.h"
#include "frontend/dialog.h"
#include "input/timers.h"
#include "objects/kinds.h"
#include "world/chance.h"
#include "world/high_score.h"
#include "world/hud.h"
#include "world/levels.h"
#include "world/play_loop.h"
#include "world/play_state.h"

PlayField::PlayField(const std::string &script) : game(script) {
    makeDataRoot(data);
    dataRoot = data.path;
    installContactHandlers();
    loadAnimationLibrary();
    createRemovalList();
    clearObjects();
    clearRotationSequence();
    addBorders();
    score = 0;
    lives = STARTING_LIVES;
    credits = 0;
    levelIndex = 0;
    dyingFlag = 0;
    gameOverFlag = 0;
    levelDoneFlag = 0;
    highScore = 1000000;
    lastTurnTime = gameClock();
    chanceSeedWith(7);
}

PlayField::~PlayField() {
    closeHighScoreFile();
    Dialog_ClearAll();
    clearObjects();
    freeRemovalList();
    unloadAnimationLibrary();
}

void PlayField::step(int updates) {
    for (int i = 0; i < updates; i++) {
        idleFor(20);
        updateFrame(20);
    }
}

ObjectNode *firstOfKind(int32_t kind) {
    for (ObjectNode *n = objectList; n; n = n->next)
        if (n->kind == kind)
            return n;
    return nullptr;
}

int countKind(int32_t kind) {
    int count = 0;
    for (ObjectNode *n = objectList; n; n = n->next)
        count += n->kind == kind;
    return count;
}
