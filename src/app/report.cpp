#include "app/report.h"
#include "app/states.h"
#include "console/surface.h"
#include "platform/host.h"
#include "world/high_score.h"
#include "world/object_list.h"
#include "world/play_state.h"
#include <cstdio>

uint32_t programStartClock;

static const char *const kindNames[KIND_LAST + 1] = {nullptr,    "Player", "Box",       "Soldier",
                                                     "Platform", "Doll",   "Kiss",      "Border",
                                                     "Ozzle",    "Ninja",  "NinjaStar", "Dummy"};

std::string exitReport(int exitCode) {
    const uint32_t ms = host ? host->now() - programStartClock : 0;
    int counts[KIND_LAST + 1] = {};
    for (ObjectNode *n = objectList; n; n = n->next)
        if (isKnownKind(n->kind))
            counts[n->kind]++;
    char text[768];
    int len =
        snprintf(text, sizeof text,
                 "{\"exitCode\":%d,\"state\":%d,\"frames\":%llu,\"virtualMs\":%u,"
                 "\"levelIndex\":%d,\"score\":%d,\"highScore\":%d,\"lives\":%d,"
                 "\"credits\":%d,\"objects\":{",
                 exitCode, screenState.current, static_cast<unsigned long long>(framesPresented),
                 ms, levelIndex, score, highScore, lives, credits);
    for (int kind = KIND_FIRST; kind <= KIND_LAST; kind++)
        len += snprintf(text + len, sizeof text - len, "%s\"%s\":%d", kind == KIND_FIRST ? "" : ",",
                        kindNames[kind], counts[kind]);
    len += snprintf(text + len, sizeof text - len, "}");
    // Where the player stands, for benchmarks and scripts that measure movement.
    for (ObjectNode *n = objectList; n; n = n->next)
        if (n->kind == KIND_PLAYER && n->record) {
            const PlayerRecord *p = static_cast<const PlayerRecord *>(n->record);
            len += snprintf(text + len, sizeof text - len, ",\"player\":{\"x\":%.2f,\"y\":%.2f}",
                            p->x, p->y);
            break;
        }
    snprintf(text + len, sizeof text - len, "}");
    return text;
}

// The report of the game as it stands, for a host that asks from outside
// (the web page, which has no standard output to read at exit).
extern "C" const char *currentReport() {
    static std::string text;
    text = exitReport(0);
    return text.c_str();
}
