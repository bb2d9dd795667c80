#include "editor/editor.h"
#include "editor_run.h"
#include "world/levels.h"
#include "world/object_records.h"
#include <algorithm>
#include <gtest/gtest.h>

namespace {

int countKind(const EditorSnapshot &s, int32_t kind) {
    return static_cast<int>(std::count_if(s.objects.begin(), s.objects.end(),
                                          [&](const PlacedObject &o) { return o.kind == kind; }));
}

} // namespace

TEST(EditorLoad, OLoadsTheListedLevelsOneAfterAnother) {
    EditorBench bench("2Alpha\nMystery\nBeta\nDrift\n");
    writeLevel(bench.dir, "Alpha", {at(KIND_DUMMY, 40, 77)}, "90 ");
    writeLevel(bench.dir, "Beta", {at(KIND_BOX, 10, 10), at(KIND_BOX, 20, 10)}, "180 ");

    // The first O of the run loads on top of what is already placed.
    EditorSnapshot s = bench.run("100 tap 3\n150 click 60 60\n200 tap O\n400 end\n");
    EXPECT_EQ(s.objects.size(), 1u + 1u + 4u);
    EXPECT_EQ(countKind(s, KIND_SOLDIER), 1);
    EXPECT_EQ(countKind(s, KIND_DUMMY), 1);
    EXPECT_EQ(countKind(s, KIND_BORDER), 4);
    EXPECT_EQ(s.rotationCount, 1);
    EXPECT_EQ(rotationSequence.count, 0) << "leaving forgets the loaded turns";

    // Later ones replace the field with the next level, and the list wraps.
    s = bench.run("100 tap O\n400 end\n");
    EXPECT_EQ(countKind(s, KIND_BOX), 2);
    EXPECT_EQ(s.objects.size(), 2u + 4u);
    s = bench.run("100 tap 8\n150 click 30 30\n200 tap O\n400 end\n");
    EXPECT_EQ(countKind(s, KIND_DUMMY), 1) << "Alpha again; the placed Dummy is gone";
    EXPECT_EQ(s.objects.size(), 1u + 4u);
    EXPECT_EQ(s.rotationCount, 1);
    EXPECT_EQ(editorLevelIndex, 1);
}

TEST(EditorLoad, ALevelThatCannotBeLoadedIsReported) {
    EditorBench bench("2Alpha\nMystery\nGone\nMystery\n");
    writeLevel(bench.dir, "Alpha", {at(KIND_DUMMY, 40, 77)}, nullptr); // no .rot
    EditorSnapshot s = bench.run("100 tap O\n300 tap RETURN\n500 end\n");
    EXPECT_TRUE(anyFrameShows(bench.frames, "\"Alpha\" could not be loaded"));
    EXPECT_TRUE(s.objects.empty());
    EXPECT_EQ(editorLevelIndex, 1) << "the next O tries the next level";

    // Without a list, the field is kept and the reason shown.
    EditorBench none(nullptr);
    s = none.run("100 tap 2\n150 click 30 30\n200 tap O\n400 tap RETURN\n600 end\n");
    EXPECT_TRUE(anyFrameShows(none.frames, "could not be opened"));
    EXPECT_EQ(s.objects.size(), 1u);
}
