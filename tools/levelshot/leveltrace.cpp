// Plays one level with an input script, in this process on the headless
// host, and prints what happens: where the player, the enemies and the boxes
// are every few frames, and every turn, crush, death and the level's end.
// A level author's way to see why a script wins or fails.
//
//   leveltrace [--data=ROOT] [--seed=N] [--every=N] [--until=MS]
//              [--png=DIR] [--png-every=N] [--go-on] LEVEL SCRIPT
//
// LEVEL is the level's number in Levels.txt (0 is the first). Times are the
// script's own: virtual milliseconds since the run began. The run stops when
// the level is won (unless --go-on), when the script ends, or at --until.
#include "app/states.h"
#include "game_setup.h"
#include "objects/collision.h"
#include "world/high_score.h"
#include "world/levels.h"
#include "world/object_access.h"
#include "world/object_records.h"
#include "world/play_loop.h"
#include "world/play_state.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

static Host traced;
static void (*realPresent)(const Cell *, int, int);
static int every = 45, pngEvery = 0;
static uint64_t until = 0;
static bool goOn = false;
static std::string pngDir;
static uint64_t frame = 0;
static int32_t lastLevel, lastScore, lastLives, lastTurn, lastEnemies = -1;

static const char *shortName(int32_t kind) {
    switch (kind) {
    case KIND_PLAYER:
        return "P";
    case KIND_BOX:
        return "b";
    case KIND_SOLDIER:
        return "Sol";
    case KIND_PLATFORM:
        return "plat";
    case KIND_DOLL:
        return "Doll";
    case KIND_KISS:
        return "kiss";
    case KIND_OZZLE:
        return "OZ";
    case KIND_NINJA:
        return "Nin";
    case KIND_NINJASTAR:
        return "star";
    case KIND_DUMMY:
        return "Dum";
    default:
        return nullptr;
    }
}

static int32_t countEnemies() {
    int32_t n = 0;
    for (ObjectNode *o = objectList; o; o = o->next)
        if (o->kind == KIND_SOLDIER || o->kind == KIND_DOLL || o->kind == KIND_NINJA ||
            o->kind == KIND_DUMMY || o->kind == KIND_OZZLE)
            n++;
    return n;
}

static void printWorld(uint64_t t) {
    std::ostringstream line;
    line << "t=" << t;
    for (ObjectNode *o = objectList; o; o = o->next) {
        const char *name = shortName(o->kind);
        if (!name || o->kind == KIND_PLATFORM)
            continue;
        const ObjectBox *b = objectBox(o);
        char text[96];
        snprintf(text, sizeof text, " %s %.1f,%.1f", name, b->x, b->y);
        line << text;
        if (o->kind == KIND_PLAYER) {
            const PlayerRecord *p = recordOf<PlayerRecord>(o);
            if (p->carrying)
                line << "[carry]";
            if (p->stunTimer > 0)
                line << "[stun]";
            if (p->deathTimer > 0)
                line << "[dying]";
        } else if (o->kind == KIND_OZZLE) {
            const OzzleRecord *z = recordOf<OzzleRecord>(o);
            line << "[hp" << z->hitPoints << (z->hitFlag ? " guard" : "") << "]";
        }
    }
    puts(line.str().c_str());
}

static void present(const Cell *cells, int width, int height) {
    realPresent(cells, width, height);
    frame++;
    const uint64_t t = headless.virtualMs;
    if (levelIndex != lastLevel) {
        printf("t=%llu LEVEL %d -> %d, score %d, lives %d\n", static_cast<unsigned long long>(t),
               lastLevel, levelIndex, score, lives);
        lastLevel = levelIndex;
        lastEnemies = -1;
        if (!goOn)
            screenState.current = STATE_EXIT;
    }
    if (score != lastScore)
        printf("t=%llu score %d (%+d)\n", static_cast<unsigned long long>(t), score,
               score - lastScore);
    if (lives != lastLives)
        printf("t=%llu LIVES %d\n", static_cast<unsigned long long>(t), lives);
    if (rotationSequence.index != lastTurn)
        printf("t=%llu TURN, next %d\n", static_cast<unsigned long long>(t), currentTurnAngle());
    const int32_t enemies = countEnemies();
    if (lastEnemies >= 0 && enemies != lastEnemies)
        printf("t=%llu enemies %d\n", static_cast<unsigned long long>(t), enemies);
    lastScore = score;
    lastLives = lives;
    lastTurn = rotationSequence.index;
    lastEnemies = enemies;
    if (every > 0 && frame % every == 0)
        printWorld(t);
    if (!pngDir.empty() && pngEvery > 0 && frame % pngEvery == 0) {
        char name[64];
        snprintf(name, sizeof name, "/f%06llu.png", static_cast<unsigned long long>(t));
        writeBackBufferPng(pngDir + name, 4);
    }
    if (until && t >= until)
        screenState.current = STATE_EXIT;
}

static void scriptEnded() {
    printf("t=%llu script ended\n", static_cast<unsigned long long>(headless.virtualMs));
    printWorld(headless.virtualMs);
    screenState.current = STATE_EXIT;
}

int main(int argc, char **argv) {
    std::string root = ".", scriptPath;
    int level = -1;
    uint32_t seed = 0;
    for (int i = 1; i < argc; i++) {
        const std::string arg = argv[i];
        auto value = [&](const char *name) { return arg.substr(strlen(name)); };
        if (arg.rfind("--data=", 0) == 0)
            root = value("--data=");
        else if (arg.rfind("--seed=", 0) == 0)
            seed = static_cast<uint32_t>(atol(value("--seed=").c_str()));
        else if (arg.rfind("--every=", 0) == 0)
            every = atoi(value("--every=").c_str());
        else if (arg.rfind("--until=", 0) == 0)
            until = static_cast<uint64_t>(atol(value("--until=").c_str()));
        else if (arg.rfind("--png=", 0) == 0)
            pngDir = value("--png=");
        else if (arg.rfind("--png-every=", 0) == 0)
            pngEvery = atoi(value("--png-every=").c_str());
        else if (arg == "--go-on")
            goOn = true;
        else if (level < 0)
            level = atoi(arg.c_str());
        else
            scriptPath = arg;
    }
    if (level < 0 || scriptPath.empty()) {
        fprintf(stderr, "usage: leveltrace [--data=ROOT] [--seed=N] [--every=N] [--until=MS] "
                        "[--png=DIR] [--png-every=N] [--go-on] LEVEL SCRIPT\n");
        return 2;
    }
    if (!pngDir.empty() && pngEvery == 0)
        pngEvery = every;
    std::ifstream in(scriptPath);
    if (!in) {
        fprintf(stderr, "leveltrace: cannot open %s\n", scriptPath.c_str());
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    if (!setUpGame(root, text.str(), error)) {
        fprintf(stderr, "leveltrace: %s: %s\n", scriptPath.c_str(), error.c_str());
        return 1;
    }
    traced = *host;
    realPresent = traced.present;
    traced.present = present;
    host = &traced;
    hostCloseRequested = scriptEnded;
    chanceSeed = seed;
    srand(seed);
    firstLevelIndex = level;
    lastLevel = level;
    lastLives = lives;
    lastScore = score;
    screenState = ScreenState{STATE_GAME, STATE_GAME};
    playLoop(&screenState);
    // A won game leaves for the high-score screen with the score kept as
    // the high score (the game's own score is cleared when it ends).
    printf("t=%llu game left for screen %d, high score %d\n",
           static_cast<unsigned long long>(headless.virtualMs), screenState.current, highScore);
    return 0;
}
