#include "frontend/dialog.h"
#include "input/keyboard.h"
#include "platform/files.h"
#include "test_support.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace {

// A box picture of dots in colour 1 on colour 0, so written text shows.
void writeBox(const TempDir &dir, const std::string &name, int w, int h, char ch = '.',
              uint16_t attr = 0x01) {
    dir.writeSurface(name, w, h, Cell{static_cast<uint16_t>(ch), attr});
}

std::string row(const DialogRecord *d, int r) {
    std::string s;
    for (int c = 0; c < d->width; c++)
        s += static_cast<char>(d->picture->cells[r * d->width + c].ch);
    return s;
}

struct DialogFixture {
    HeadlessGame game;
    TempDir dir;
    DialogFixture(const std::string &script = "") : game(script) { dataRoot = dir.path; }
    ~DialogFixture() { Dialog_ClearAll(); }
    // `count` play frames of 20 ms as far as the story boxes go.
    void frames(int count) {
        for (int i = 0; i < count; i++) {
            idleFor(20);
            pollKeyboard();
            Dialog_Update();
        }
    }
    DialogRecord *make(const char *picture, const char *text) {
        DialogRecord *d = static_cast<DialogRecord *>(calloc(1, sizeof(DialogRecord)));
        EXPECT_EQ(Dialog_Create(d, picture, text, 0, 0), d);
        return d;
    }
};

} // namespace

TEST(Dialogs, WrapWordsWithoutSplittingThemInsideTheBox) {
    // Limit: the width less 6. Words are taken until the count passes it; the
    // word that crosses the limit stays on the line, a word longer than the
    // limit stays whole and is clipped at the edge. Later lines start one
    // column in, and only rows above six from the bottom get text.
    const struct {
        int width, height;
        const char *text;
        std::vector<std::pair<int, std::string>> rows;
    } cases[] = {
        {30,
         14,
         "the quick brown fox jumps over the lazy dog",
         {{2, std::string(30, '.')},
          {3, "...the.quick.brown.fox.jumps.."},
          {4, "....over.the.lazy.dog........."}}},
        {12, 14, "abcdefghijklmnop qr", {{3, "...abcdefghi"}, {4, "....qr......"}}},
        {10,
         12,
         "aaaa bbbb cccc dddd eeee ffff",
         {{3, "...aaaa..."}, {5, "....cccc.."}, {6, ".........."}}},
    };
    for (const auto &c : cases) {
        DialogFixture f;
        writeBox(f.dir, "box.srf", c.width, c.height);
        DialogRecord *d = f.make("box.srf", c.text);
        EXPECT_EQ(d->wrapWidth, c.width - 3);
        Dialog_RenderText(d);
        EXPECT_EQ(d->text, nullptr);
        for (const auto &[r, text] : c.rows)
            EXPECT_EQ(row(d, r), text) << c.text << ", row " << r;
        const Cell written = d->picture->cells[3 * c.width + 3];
        EXPECT_EQ(written.attr, 0x1F) << "old foreground becomes the background, text is white";
        const size_t blank = row(d, 3).find('.', 3);
        if (blank != std::string::npos) {
            EXPECT_EQ(d->picture->cells[3 * c.width + blank].attr, 0x01)
                << "blanks are not written";
        }
        Dialog_Destroy(d);
    }
}

TEST(Dialogs, APortraitNarrowsTheWrapOrIsRefusedWhenItDoesNotFit) {
    DialogFixture f;
    writeBox(f.dir, "box.srf", 70, 20);
    writeBox(f.dir, "face.srf", 10, 8, '#', 0x0E);
    writeBox(f.dir, "big.srf", 28, 8, '#', 0x0E);
    DialogRecord *d = f.make("box.srf", "hi");
    EXPECT_EQ(Dialog_AddPortrait("face.srf", d, 40, 4), d);
    EXPECT_EQ(d->wrapWidth, 37) << "wrap limit 40 - 3 - 3 = 34";
    EXPECT_EQ(d->picture->cells[4 * 70 + 40].ch, '#');
    EXPECT_EQ(Dialog_AddPortrait("big.srf", d, 40, 4), nullptr) << "28 + 40 > 70 - 3";
    EXPECT_EQ(Dialog_AddPortrait("face.srf", d, 40, 10), nullptr) << "8 + 10 > 20 - 3";
    EXPECT_EQ(Dialog_AddPortrait("missing.srf", d, 4, 4), nullptr);
    EXPECT_EQ(d->wrapWidth, 37) << "refused portraits change nothing";
    Dialog_Destroy(d);
}

TEST(Dialogs, ScriptsQueueRecordsWithAndWithoutPortraitsAndDropACutOffRecord) {
    DialogFixture f;
    writeBox(f.dir, "box.srf", 40, 16);
    writeBox(f.dir, "face.srf", 6, 6, '@', 0x0E);
    writeBox(f.dir, "data/surfaces/endDialog.srf", 4, 4);
    f.dir.write("a.dlg", "0\nbox.srf\nHello there.\n3 3\n\n"
                         "1 box.srf\nWith a face.\n3 60\nface.srf\n30 3\n"
                         "0\nmissing.srf\nThis box has no picture.\n3 3\n"
                         "0\nbox.srf\nCut off\n3");
    Dialog_LoadScript("a.dlg");
    ASSERT_EQ(dialogQueue.count, 3) << "the last record ends inside and is dropped";
    Dialog_Start();
    ASSERT_NE(currentDialog, nullptr);
    EXPECT_STREQ(currentDialog->text, "Hello there.");
    EXPECT_EQ(dialogQueue.count, 3) << "two more and the closing record";
    DialogRecord *second = static_cast<DialogRecord *>(dialogQueue.head->data);
    EXPECT_EQ(second->y, 60);
    EXPECT_EQ(second->wrapWidth, 27);
    DialogRecord *third = static_cast<DialogRecord *>(dialogQueue.head->next->data);
    EXPECT_EQ(third->picture, nullptr) << "still queued, shown as nothing";
    Dialog_Draw(); // a picture-less box draws nothing and must not crash
    Dialog_ClearAll();

    // A story file written on Windows reads the same; an empty text stays empty.
    f.dir.write("w.dlg", "0\r\nbox.srf\r\nHi.\r\n3 3\r\n\r\n0\r\nbox.srf\r\n\r\n3 3\r\n");
    Dialog_LoadScript("w.dlg");
    ASSERT_EQ(dialogQueue.count, 2);
    const DialogRecord *empty = static_cast<DialogRecord *>(dialogQueue.head->next->data);
    EXPECT_STREQ(static_cast<DialogRecord *>(dialogQueue.head->data)->text, "Hi.");
    EXPECT_STREQ(empty->text ? empty->text : "(none)", "");
}

TEST(Dialogs, EnterAdvancesOneBoxPerReleaseAndTheLastGoesAway) {
    DialogFixture f("100 down RETURN\n900 up RETURN\n1000 tap RETURN\n1100 tap RETURN\n"
                    "1200 tap RETURN\n1500 tap X\n");
    writeBox(f.dir, "box.srf", 40, 16);
    f.dir.write("a.dlg", "0\nbox.srf\nOne\n3 3\n0\nbox.srf\nTwo\n3 3\n");
    Dialog_LoadScript("a.dlg");
    Dialog_Start();
    f.frames(44); // Enter held from 100 to 900 ms
    EXPECT_STREQ(currentDialog->text, "One") << "holding Enter advances nothing";
    f.frames(1);
    ASSERT_NE(currentDialog, nullptr);
    EXPECT_STREQ(currentDialog->text, "Two");
    f.frames(6);
    EXPECT_EQ(currentDialog, nullptr) << "the closing record ends the dialogs";
    EXPECT_EQ(dialogQueue.count, 0);
    // Boxes move on by themselves only after ten seconds; X drops them all.
    Dialog_LoadScript("a.dlg");
    Dialog_Start();
    f.frames(30);
    EXPECT_EQ(currentDialog, nullptr);
    EXPECT_EQ(dialogQueue.count, 0);
}

TEST(Dialogs, PathsOf33AndTextsOf97CharactersAreReadWhole) {
    DialogFixture f;
    // 33 characters are read whole; 35 cannot be: that box and the rest are
    // left out, and the author is told which box.
    const std::string path33 = "pictures/portraits/abcdefghij.srf";
    const std::string path35 = "pictures/portraits/abcdefghijkl.srf";
    const std::string text97(97, 'w');
    writeBox(f.dir, "box.srf", 70, 14);
    writeBox(f.dir, path33, 6, 6, '@', 0x0E);
    writeBox(f.dir, path35, 6, 6);
    f.dir.write("b.dlg", "1\nbox.srf\n" + text97 + "\n3 3\n" + path33 +
                             "\n50 3\n\n1\nbox.srf\nsecond\n3 3\n" + path35 +
                             "\n50 3\n\n0\nbox.srf\nthird\n3 3\n");
    testing::internal::CaptureStderr();
    Dialog_LoadScript("b.dlg");
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_EQ(dialogQueue.count, 1);
    EXPECT_NE(said.find("b.dlg: box 2 cannot be read"), std::string::npos) << said;
    DialogRecord *d = static_cast<DialogRecord *>(dialogQueue.head->data);
    EXPECT_EQ(std::string(d->text), text97);
    EXPECT_EQ(d->picture->cells[3 * 70 + 50].ch, '@') << "the portrait was found";
}

// The shipped story files keep within what a story file can hold: every box
// of every level loads, each with its portrait (a picture path of more than
// 34 characters once cut a level's whole story off without a word).
TEST(Dialogs, EveryShippedStoryBoxLoadsWithItsPortrait) {
    DialogFixture f;
    dataRoot = wobbleSourceDir;
    int files = 0;
    for (const auto &entry :
         std::filesystem::directory_iterator(std::string(wobbleSourceDir) + "/data/levels")) {
        if (entry.path().extension() != ".dlg")
            continue;
        files++;
        const std::string name = "data/levels/" + entry.path().filename().string();
        std::ifstream in(entry.path());
        int boxes = 0;
        for (std::string line; std::getline(in, line);)
            boxes += line.rfind("1 data/", 0) == 0;
        Dialog_LoadScript(name.c_str());
        EXPECT_EQ(dialogQueue.count, boxes) << name;
        for (QueueNode *q = dialogQueue.head; q; q = q->next) {
            const DialogRecord *d = static_cast<DialogRecord *>(q->data);
            ASSERT_NE(d->picture, nullptr) << name;
            EXPECT_LT(d->wrapWidth, d->width - 3) << name << ": a box without its portrait";
        }
        Dialog_ClearAll();
    }
    EXPECT_EQ(files, 21);
}
