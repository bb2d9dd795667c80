#include "world/play_loop.h"
#include "anim/animation_library.h"
#include "console/message_box.h"
#include "console/surface.h"
#include "console/window_shake.h"
#include "frontend/dialog.h"
#include "frontend/pause.h"
#include "input/keyboard.h"
#include "input/timers.h"
#include "objects/collision.h"
#include "objects/kinds.h"
#include "objects/world_turn.h"
#include "sound/sound.h"
#include "world/chance.h"
#include "world/high_score.h"
#include "world/hud.h"
#include "world/level_list.h"
#include "world/levels.h"
#include "world/object_access.h"
#include "world/play_state.h"
#include "world/world_check.h"
#include <cmath>
#include <cstdlib>

// The game's own copy of the level list, read when the game starts.
static LevelList gameLevels;
int32_t firstLevelIndex = 0;
uint32_t chanceSeed = 0;

void startLevelChances() {
    chanceSeedWith(chanceSeed + static_cast<uint32_t>(levelIndex));
}

void resetTurnTimer() {
    lastTurnTime = gameClock();
}

void updateBounds() {
    for (ObjectNode *n = objectList; n; n = n->next)
        updateObjectBounds(n);
}

void drawObjects() {
    for (ObjectNode *n = objectList; n; n = n->next) {
        const ObjectBox *box = objectBox(n);
        const AnimRef *ref = objectAnimRef(n);
        if (!box || !ref)
            continue;
        const Frame *frame = lookupFrame(*ref);
        const float cx = box->x + 1.5f, cy = box->y + 1.5f;
        // Nothing that far out of the room can be seen (nor turned into a cell).
        if (!frame || !(std::fabs(cx) < 30000) || !(std::fabs(cy) < 30000))
            continue;
        blitSurface(frame->picture, static_cast<int16_t>(std::trunc(cx)),
                    static_cast<int16_t>(std::trunc(cy)));
    }
}

bool enemiesLeft() {
    if (!objectList)
        return false;
    for (ObjectNode *n = objectList->next; n; n = n->next)
        switch (n->kind) {
        case KIND_SOLDIER:
        case KIND_OZZLE:
        case KIND_DOLL:
        case KIND_NINJA:
        case KIND_DUMMY:
            return true;
        }
    return false;
}

void updateFrame(float dt) {
    pollKeyboard();
    pumpConsoleInput();
    updateBounds();
    refreshBorders();
    updateBoxes(dt);
    updatePlayer(dt);
    updateSoldiers(dt);
    updateDolls(dt);
    refreshPlatforms();
    updateKisses(dt);
    updateOzzles(dt);
    updateNinjas(dt);
    updateNinjaStars(dt);
    refreshDummies();
    reapRemovals();
    checkWorld();
    clearScreen();
    drawBonusTimer();
    drawTurnGauge();
    drawScores();
    Dialog_Update();
    drawObjects();
    Pause_Check();
    Dialog_Draw();
    presentScreen();
}

// A level list that vanished or was emptied while the game ran ends the game
// with the reason on screen.
static void leaveForMissingLevels() {
    messageBox(levelListMessage(), "Wobblewick!", MB_ICONEXCLAMATION);
    returnToMenu = 1;
}

void advanceLevel() {
    if (++levelIndex >= levelCount)
        levelIndex = 0;
    const int32_t used = bonusElapsed / 1000;
    if (levelTime > used) {
        addScore((int64_t{levelTime} - used) * 100);
        raiseHighScore();
    }
    if (!loadLevelAt())
        leaveForMissingLevels();
    startLevelChances();
    resetBonusTimer();
    resetTurnTimer();
    levelDoneFlag = 0;
}

void checkDeath() {
    if (!dyingFlag)
        return;
    ObjectNode *node = findPlayer();
    if (node && recordOf<PlayerRecord>(node)->deathTimer > 0)
        return;
    lives -= 1;
    if (lives > 0) {
        if (node) {
            PlayerRecord *p = recordOf<PlayerRecord>(node);
            p->x = startPoint.x;
            p->y = startPoint.y;
            p->vx = 0;
            p->vy = 0;
        }
        addScore(static_cast<int32_t>(score * -0.05));
        raiseHighScore();
        if (node) {
            // Boxes where the player comes back are cleared away.
            updateObjectBounds(node);
            List found;
            listSetUp(&found, 2, sizeof(ObjectNode *), nullptr);
            queryOverlaps(node, &found);
            for (int32_t i = found.count - 1; i >= 0; i--) {
                ObjectNode *other = static_cast<ObjectNode *>(found.items[i]);
                if (other->kind == KIND_BOX)
                    destroyNow(other);
            }
            listDestroyAll(&found);
        }
        dyingFlag = 0;
    } else if (credits > 0) {
        const int32_t penalty = static_cast<int32_t>(score * 0.1);
        credits -= 1;
        lives = STARTING_LIVES;
        if (!loadLevelAt())
            leaveForMissingLevels();
        startLevelChances();
        addScore(-int64_t{penalty});
        raiseHighScore();
        resetTurnTimer();
        resetBonusTimer();
        dyingFlag = 0;
    } else {
        gameOverFlag = 1;
        loadEndPictures();
        dyingFlag = 0;
    }
}

void endSession() {
    clearObjects();
    clearRotationSequence();
    ozzleLevel = 0;
    clearScreen();
    freeLevelList(&gameLevels);
    levelIndex = 0;
    score = 0;
    lives = STARTING_LIVES;
    // A game left in the middle of a death or a won level starts the next
    // one clean.
    dyingFlag = 0;
    levelDoneFlag = 0;
    queueClear(&dialogQueue);
}

// One pass is one frame followed by the checks between frames. Key edges
// change only when a frame polls the keys, so every release is seen by
// exactly one pass; and the checks wait for an even game clock, on which
// alone the credit and volume keys act, so none of those releases is lost.
static void runPasses(ScreenState *state) {
    // The first frame of a game runs at once, with a very long step.
    uint32_t frameMark = 0;
    for (;;) {
        while (timeGetTime() - frameMark <= FRAME_STEP_MS)
            idleFor(1);
        windowShakeStep();
        const uint32_t now = timeGetTime();
        updateFrame(static_cast<float>(now - frameMark));
        frameMark = timeGetTime();
        while (gameClock() % 2 != 0)
            idleFor(1);
        if (keyReleased(VK_F9) || (!enemiesLeft() && !playerSettling()) || levelDoneFlag)
            advanceLevel();
        if (keyReleased(VK_F5) && gameClock() % 2 == 0) {
            if (credits < MAX_CREDITS)
                credits += 1;
            playSound(SOUND_SHUFFLE);
        }
        const uint32_t t = gameClock();
        const bool keyedTurn = t > lastTurnTime + KEYED_TURN_GUARD_MS &&
                               (keyReleased('S') || keyHeld(VK_DOWN)) && ozzleLevel == 0;
        if ((t > lastTurnTime + TURN_INTERVAL_MS || keyedTurn) && !dyingFlag) {
            lastTurnTime = gameClock();
            triggerTurn();
        }
        checkDeath();
        if ((keyReleased('Z') || keyReleased('X')) && gameClock() % 2 == 0)
            volumeKeys();
        if (gameOverFlag) {
            credits = 0;
            gameOverFlag = 0;
            state->current = STATE_ATTRACT;
            playMusic("Menu");
        }
        if (returnToMenu) {
            returnToMenu = 0;
            state->current = STATE_MENU;
            playMusic("Menu");
        }
        if (state->current != state->previous)
            return;
    }
}

void playLoop(ScreenState *state) {
    state->previous = state->current;
    installContactHandlers();
    loadAnimationLibrary();
    createRemovalList();
    loadHighScore();
    // A game starts with no ending asked for, whatever asked for one last.
    gameWon = 0;
    gameOverFlag = 0;
    returnToMenu = 0;
    lastTurnTime = gameClock();
    gameLevels = readLevelList();
    bool loaded = false;
    if (gameLevels.count > 0) {
        // A game that starts further on loads its level as an arrival there;
        // a first level that does not load is passed over as any other.
        levelIndex = firstLevelIndex;
        loaded = levelIndex == 0 && loadLevel(gameLevels.names[0]);
        if (!loaded)
            loaded = loadLevelAt();
    }
    if (loaded) {
        startLevelChances();
        resetBonusTimer();
        runPasses(state);
    } else {
        // No level to play: say why, and go back (or out, when the menu is
        // skipped, rather than come straight back here).
        messageBox(levelListMessage(), "Wobblewick!", MB_ICONEXCLAMATION);
        state->current = skipMenu ? STATE_EXIT : STATE_MENU;
    }
    freeRemovalList();
    endSession();
    unloadAnimationLibrary();
}
