#include "anim/animation_library.h"
#include "app/states.h"
#include "console/surface_files.h"
#include "editor/editor.h"
#include "editor_run.h"
#include "input/keyboard.h"
#include "input/timers.h"
#include "objects/collision.h"
#include "world/object_list.h"
#include <gtest/gtest.h>

namespace {

// The cells a kind's first frame paints when drawn with its corner at (x, y),
// compared with a frame: how many of them differ.
int paintedDifferences(const std::vector<Cell> &frame, int32_t set, int x, int y) {
    const Frame *f = lookupFrame(AnimRef{set, 0, 0, 0});
    if (!f || !f->picture || !f->picture->cells)
        return -1;
    int differences = 0;
    for (int r = 0; r < f->picture->height; r++)
        for (int c = 0; c < f->picture->width; c++) {
            const Cell cell = f->picture->cells[r * f->picture->width + c];
            if ((cell.ch & 0xFF) == ' ')
                continue;
            if (!(frame[(y + r) * SCREEN_WIDTH + x + c] == cell))
                differences++;
        }
    return differences;
}

} // namespace

TEST(Editor, AClickPlacesTheChosenKindWithItsCornerOnTheClickedCell) {
    EditorBench bench;
    // Tool 5 is the Doll; the mouse then goes off to the panel so that only
    // the placed object shows where it was clicked.
    EditorSnapshot s = bench.run("100 tap 5\n200 click 20 30\n300 move 100 50\n500 end\n");
    ASSERT_TRUE(s.closed);
    ASSERT_EQ(s.objects.size(), 1u);
    EXPECT_EQ(s.objects[0].kind, KIND_DOLL);
    EXPECT_FLOAT_EQ(s.objects[0].x, 19);
    EXPECT_FLOAT_EQ(s.objects[0].y, 29);
    EXPECT_EQ(paintedDifferences(s.frame, SET_DOLL, 20, 30), 0);
    EXPECT_EQ(s.title, "Wobblewick! - Editor Mode (ESC to return to menu) - Pos: [ 97, 47]");
}

TEST(Editor, TheChosenToolFollowsTheMouseInsideTheRoomOnly) {
    EditorBench bench;
    EditorSnapshot inside = bench.run("100 tap 7\n200 move 30 40\n400 end\n");
    EXPECT_EQ(inside.selectedTool, 6);
    EXPECT_EQ(paintedDifferences(inside.frame, SET_OZZLE, 30, 40), 0) << "the Ozzle previewed";
    EXPECT_TRUE(inside.objects.empty()) << "moving places nothing";

    // Outside the room's inside (column 2) nothing is previewed: the frame is
    // the same as with the mouse far away.
    EditorSnapshot edge = bench.run("100 tap 7\n200 move 2 40\n400 end\n");
    EditorSnapshot away = bench.run("100 tap 7\n200 move 100 40\n400 end\n");
    EXPECT_EQ(edge.frame, away.frame);

    // The eraser shows its own picture, corner on the mouse.
    EditorSnapshot eraser = bench.run("100 tap 9\n200 move 30 40\n400 end\n");
    Surface *picture = loadSurfaceFile("data/surfaces/Eraser.srf");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(eraser.frame[40 * SCREEN_WIDTH + 30], picture->cells[0]);
    freeSurface(picture);
}

TEST(Editor, TheEraserRemovesEverythingUnderThePoint) {
    EditorBench bench;
    // A Box first (the first node of the list), a Soldier overlapping it, a
    // Dummy elsewhere; the eraser on the overlap takes both.
    EditorSnapshot s = bench.run("100 tap 2\n150 click 20 30\n200 tap 3\n250 click 22 31\n"
                                 "300 tap 8\n350 click 60 60\n400 tap 9\n450 click 23 32\n"
                                 "600 end\n");
    ASSERT_EQ(s.objects.size(), 1u);
    EXPECT_EQ(s.objects[0].kind, KIND_DUMMY);
    EXPECT_TRUE(s.linksValid);

    // The edges count: a Box at (19, 29) is 5 x 5, so its far corner (24, 34)
    // is under the click at (25, 35); one cell further is not.
    EditorSnapshot edges = bench.run("100 tap 2\n150 click 20 30\n200 tap 9\n250 click 26 36\n"
                                     "300 end\n");
    EXPECT_EQ(edges.objects.size(), 1u);
    edges = bench.run("100 tap 2\n150 click 20 30\n200 tap 9\n250 click 25 35\n300 end\n");
    EXPECT_TRUE(edges.objects.empty());
}

TEST(Editor, TurnsAreRecordedAndKeptAcrossVisits) {
    EditorBench bench;
    // A Box at (9, 19) shows the preview turning: a quarter turn the other
    // way takes it to (85 - (5 + 19), 9).
    EditorSnapshot first = bench.run("100 click 10 20\n150 tap 2\n200 click 10 20\n"
                                     "300 tap RIGHT\n400 tap S\n500 end\n");
    EXPECT_EQ(first.objects.size(), 2u) << "tool 1 (the Player) is chosen when the editor opens";
    EXPECT_FLOAT_EQ(first.objects[1].x, 61);
    EXPECT_FLOAT_EQ(first.objects[1].y, 9);
    EXPECT_EQ(first.turns[0], 630);
    EXPECT_EQ(first.turnCursor, 0) << "recording does not move the cursor";
    EXPECT_EQ(first.turnCount, 1);
    // The panel: row 40 is the cursor's row and shows the mark.
    EXPECT_EQ(first.frame[40 * SCREEN_WIDTH + 90], (Cell{'0', colourToAttribute(1, 5)}));
    EXPECT_EQ(first.frame[40 * SCREEN_WIDTH + 91], (Cell{'S', colourToAttribute(4, 5)}));
    EXPECT_EQ(first.frame[41 * SCREEN_WIDTH + 90], (Cell{'1', colourToAttribute(0, 2)}));

    EditorSnapshot second = bench.run("100 tap NEXT\n200 tap LEFT\n300 tap LEFT\n400 tap S\n"
                                      "600 end\n");
    EXPECT_TRUE(second.objects.empty()) << "leaving the editor empties the field";
    EXPECT_EQ(second.turnCursor, 1);
    EXPECT_EQ(second.turns[0], 630);
    EXPECT_EQ(second.turns[1], 540);
    EXPECT_EQ(second.frame[41 * SCREEN_WIDTH + 91], (Cell{'S', colourToAttribute(4, 5)}));

    EditorSnapshot third = bench.run("100 tap S\n300 end\n");
    EXPECT_EQ(third.turns[1], 360) << "no turn since the last record";
    EXPECT_EQ(third.turnCount, 3);
    EXPECT_EQ(third.pendingTurn, 0);
}

TEST(Editor, PageDownShowsTheNotedTurnAndPageUpTakesItBack) {
    EditorBench bench;
    // Entry 1 notes a quarter turn (Left). Page Up from there turns it back
    // and Page Down shows it again; at the ends the cursor stops.
    EditorSnapshot s = bench.run("100 tap 2\n150 click 10 20\n200 tap NEXT\n300 tap LEFT\n"
                                 "400 tap S\n500 tap PRIOR\n600 end\n");
    EXPECT_EQ(s.turnCursor, 0);
    EXPECT_FLOAT_EQ(s.objects[0].x, 9);
    EXPECT_FLOAT_EQ(s.objects[0].y, 19);
    s = bench.run("100 tap 2\n150 click 10 20\n200 tap NEXT\n300 tap PRIOR\n400 tap PRIOR\n"
                  "600 end\n");
    EXPECT_EQ(s.turnCursor, 0);
    EXPECT_FLOAT_EQ(s.objects[0].x, 9) << "entry 0 never recorded here: nothing turns";
    s = bench.run("100 tap 2\n150 click 10 20\n200 tap NEXT\n600 end\n");
    EXPECT_EQ(s.turnCursor, 1);
    // Left is a quarter turn clockwise: (9, 19) goes to (19, 85 - (5 + 9)).
    EXPECT_FLOAT_EQ(s.objects[0].x, 19);
    EXPECT_FLOAT_EQ(s.objects[0].y, 71);
    std::string script = "100 tap 2\n150 click 10 20\n";
    for (int i = 0; i < 12; i++)
        script += std::to_string(200 + 60 * i) + " tap NEXT\n";
    s = bench.run(script + "1000 end\n");
    EXPECT_EQ(s.turnCursor, 9);
}

TEST(Editor, TheTimeDialogSetsTheLevelTime) {
    EditorBench bench;
    EditorSnapshot s = bench.run("100 tap T\n300 type 45\n500 tap RETURN\n700 end\n");
    EXPECT_TRUE(anyFrameShows(bench.frames, "Enter Level Time"));
    EXPECT_EQ(s.levelTime, 45);
    EXPECT_EQ(rowText(s.frame, 28).substr(90, 9), "Time: 45 ");

    // Cancel gives -1, and the Esc that cancels does not go on to ask
    // whether to leave the editor.
    s = bench.run("100 tap T\n300 type 9\n400 tap ESCAPE\n800 end\n");
    EXPECT_TRUE(s.closed);
    EXPECT_EQ(s.levelTime, -1);
    EXPECT_EQ(rowText(s.frame, 28).substr(90, 8), "Time: -1");
    EXPECT_FALSE(anyFrameShows(bench.frames, "Ya sure"));

    // An empty field gives 0. A key-up of t already waiting behind its
    // key-down when the dialog closes does not open it again.
    s = bench.run("100 down T\n100 up T\n300 tap RETURN\n800 end\n");
    EXPECT_EQ(s.levelTime, 0);
    EXPECT_LT(findText(s.frame, "Enter Level Time").first, 0);
}

TEST(Editor, EscapeAsksAndNoCarriesOn) {
    EditorBench bench;
    EditorSnapshot s =
        bench.run("100 tap ESCAPE\n300 tap N\n400 tap 2\n450 click 30 30\n600 end\n");
    EXPECT_TRUE(anyFrameShows(bench.frames, "Ya sure 'bout dat?!"));
    EXPECT_TRUE(anyFrameShows(bench.frames, "Huhhhhh?????"));
    EXPECT_TRUE(s.closed) << "still in the editor when the script ended";
    EXPECT_EQ(s.objects.size(), 1u);
}

TEST(Editor, LeavingGoesToTheMenuAndTakesTheHandlersAlong) {
    EditorBench bench;
    EditorSnapshot s = bench.run("100 tap 2\n150 click 30 30\n200 tap ESCAPE\n400 tap Y\n"
                                 "3000 end\n");
    EXPECT_FALSE(s.closed) << "the editor left by itself";
    EXPECT_EQ(s.previousState, STATE_EDITOR);
    EXPECT_EQ(s.currentState, STATE_MENU);
    EXPECT_TRUE(!objectList && !onKey && !onLeftButton && !onMouseMove)
        << "the editor's objects or handlers stayed behind";
    EXPECT_EQ(headless.titles.front(), "Wobblewick! - Editor Mode (ESC to return to menu)");
    EXPECT_EQ(headless.titles.back(), "Wobblewick!");
}

TEST(Editor, TabTakesAScreenshotOfTheEditor) {
    EditorBench bench;
    EditorSnapshot s = bench.run("100 tap 3\n150 click 30 30\n200 move 50 50\n300 tap TAB\n"
                                 "500 end\n");
    // What a screenshot holds is the screenshot test's business.
    EXPECT_EQ(bench.dir.read("screenshot.srf").size(),
              SRF_HEADER_SIZE + sizeof(Cell) * SCREEN_WIDTH * SCREEN_HEIGHT);
    EXPECT_EQ(s.objects.size(), 1u) << "Tab does nothing else";
}
