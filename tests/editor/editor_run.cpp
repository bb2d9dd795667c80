#include "editor_run.h"
#include "app/states.h"
#include "checkout_paths.h"
#include "editor/editor.h"
#include "editor/save_level.h"
#include "input/keyboard.h"
#include "world/levels.h"
#include "world/object_access.h"
#include "world/object_list.h"
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

static EditorSnapshot *taking = nullptr;

static void takeSnapshot(EditorSnapshot &s) {
    s.objects.clear();
    ObjectNode *before = nullptr;
    for (ObjectNode *n = objectList; n; n = n->next) {
        if (n->prev != before)
            s.linksValid = false;
        before = n;
        const ObjectBox *box = objectBox(n);
        s.objects.push_back(PlacedObject{n->kind, n->id, box ? box->x : 0, box ? box->y : 0});
    }
    memcpy(s.turns, recordedTurns, sizeof s.turns);
    s.turnCursor = turnCursor;
    s.turnCount = recordedTurnCount;
    s.pendingTurn = pendingTurn;
    s.levelTime = editorLevelTime;
    s.selectedTool = selectedTool;
    s.rotationCount = rotationSequence.count;
    s.frame = headless.lastFrame;
    s.title = headless.titles.empty() ? "" : headless.titles.back();
}

// A question still open when the script ends would wait for ever: it gets
// a letter and Enter until it goes away (the test then fails on what it sees).
static void answerLeftQuestions() {
    const uint32_t now = static_cast<uint32_t>(headless.virtualMs);
    for (uint32_t i = 0; i < 20; i++) {
        std::vector<ScriptEvent> keys;
        std::string error;
        parseInputScript(std::to_string(now + 100 * i) + " type z\n" +
                             std::to_string(now + 100 * i + 50) + " tap RETURN\n",
                         keys, error);
        for (const ScriptEvent &e : keys)
            headlessQueueEvent(e);
    }
}

static void scriptEnded() {
    if (taking) {
        takeSnapshot(*taking);
        taking->closed = true;
    }
    screenState.current = STATE_EXIT;
    answerLeftQuestions();
}

void resetEditorSession() {
    editorLevelTime = 0;
    memset(recordedTurns, 0, sizeof recordedTurns);
    turnCursor = 0;
    recordedTurnCount = 0;
    pendingTurn = 0;
    editorLevelIndex = 0;
    selectedTool = 0;
    levelName[0] = '\0';
}

EditorBench::EditorBench(const char *levelList) {
    makeDataRoot(dir);
    // The test's own level folder: saves must never reach the shipped one.
    const std::string levelDir = dir.file("data/levels");
    std::filesystem::remove_all(levelDir);
    std::filesystem::create_directories(levelDir);
    if (levelList)
        dir.write("data/levels/Levels.txt", levelList);
    resetEditorSession();
}

EditorBench::~EditorBench() {
    resetEditorSession();
    clearObjects();
    clearRotationSequence();
    dataRoot = wobbleSourceDir;
}

EditorSnapshot EditorBench::run(const std::string &script) {
    EditorSnapshot s;
    HeadlessGame game(script);
    headless.keepFrames = true;
    dataRoot = dir.path;
    hostCloseRequested = scriptEnded;
    taking = &s;
    screenState = ScreenState{STATE_MENU, STATE_EDITOR};
    testing::internal::CaptureStdout();
    runEditor(&screenState);
    s.out = testing::internal::GetCapturedStdout();
    if (!s.closed)
        takeSnapshot(s);
    taking = nullptr;
    s.previousState = screenState.previous;
    s.currentState = screenState.current;
    frames = headless.frames;
    hostCloseRequested = nullptr;
    return s;
}
