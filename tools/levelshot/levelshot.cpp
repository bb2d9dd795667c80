// Draws the first frame of every level of the level list, as the player
// first sees it (the room, its objects and the status strip), to a PNG named
// after the level; with --story also each story box of the level over it.
//
//   levelshot [--data=ROOT] [--scale=N] [--story] OUTDIR
#include "anim/animation_library.h"
#include "console/surface.h"
#include "frontend/dialog.h"
#include "game_setup.h"
#include "input/timers.h"
#include "world/high_score.h"
#include "world/hud.h"
#include "world/level_list.h"
#include "world/levels.h"
#include "world/object_list.h"
#include "world/play_loop.h"
#include "world/play_state.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

static void drawFirstFrame() {
    clearScreen();
    updateBounds();
    drawBonusTimer();
    drawTurnGauge();
    drawScores();
    drawObjects();
}

int main(int argc, char **argv) {
    std::string root = ".", outDir;
    int scale = 4;
    bool story = false;
    for (int i = 1; i < argc; i++) {
        const std::string arg = argv[i];
        if (arg.rfind("--data=", 0) == 0)
            root = arg.substr(7);
        else if (arg.rfind("--scale=", 0) == 0)
            scale = atoi(arg.c_str() + 8);
        else if (arg == "--story")
            story = true;
        else
            outDir = arg;
    }
    if (outDir.empty() || scale < 1 || scale > 16) {
        fprintf(stderr, "usage: levelshot [--data=ROOT] [--scale=1-16] [--story] OUTDIR\n");
        return 2;
    }
    std::string error;
    if (!setUpGame(root, "", error)) {
        fprintf(stderr, "levelshot: %s\n", error.c_str());
        return 1;
    }
    loadAnimationLibrary();
    loadHighScore();
    score = 0;
    LevelList list = readLevelList();
    if (list.count <= 0) {
        fprintf(stderr, "levelshot: %s\n", levelListMessage());
        return 1;
    }
    int failures = 0;
    for (levelIndex = 0; levelIndex < list.count; levelIndex++) {
        const std::string name = list.names[levelIndex];
        loadLevelAt();
        resetBonusTimer();
        resetTurnTimer();
        // The boxes of the story are pictured on their own below.
        std::vector<DialogRecord *> boxes;
        if (currentDialog)
            boxes.push_back(currentDialog);
        for (QueueNode *q = dialogQueue.head; q; q = q->next)
            if (q->next) // the last one is the closing record, never shown
                boxes.push_back(static_cast<DialogRecord *>(q->data));
        drawFirstFrame();
        const std::string path = outDir + "/" + name + ".png";
        if (!writeBackBufferPng(path, scale)) {
            fprintf(stderr, "levelshot: cannot write %s\n", path.c_str());
            failures++;
        }
        for (size_t k = 0; story && k < boxes.size(); k++) {
            DialogRecord *box = boxes[k];
            drawFirstFrame();
            if (box->text)
                Dialog_RenderText(box);
            blitSurface(box->picture, static_cast<int16_t>(box->x), static_cast<int16_t>(box->y));
            const std::string storyPath =
                outDir + "/" + name + "-story-" + std::to_string(k + 1) + ".png";
            if (!writeBackBufferPng(storyPath, scale))
                failures++;
        }
        Dialog_ClearAll();
    }
    freeLevelList(&list);
    clearObjects();
    unloadAnimationLibrary();
    return failures ? 1 : 0;
}
