#include "console/text_dialog.h"
#include "test_support.h"
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

const TextDialogButton twoButtons[] = {{"Set", 10}, {"Cancel", 20}};
const TextDialogButton okOnly[] = {{"OK", 1}};

// Two buttons: Set (the default) and Cancel (Esc); any text may be empty.
TextDialog makeDialog(int32_t filter = TEXT_ANY, int32_t maxLength = 20) {
    return TextDialog{"Test Question", "a hint", 12, maxLength, filter, twoButtons, 2, 0, 1, 0};
}

struct Answer {
    int32_t result;
    std::string text;
    std::vector<std::vector<Cell>> frames;
};

Answer ask(const TextDialog &dialog, const std::string &script, const char *start = "") {
    HeadlessGame game(script + "60000 end\n");
    headless.keepFrames = true;
    char text[32];
    snprintf(text, sizeof text, "%s", start);
    Answer a;
    a.result = runTextDialog(dialog, text, sizeof text);
    a.text = text;
    a.frames = headless.frames;
    EXPECT_LT(headless.virtualMs, 50000u) << "the dialog was answered by the script";
    return a;
}

std::string click(int time, std::pair<int, int> at) {
    return std::to_string(time) + " click " + std::to_string(at.first) + " " +
           std::to_string(at.second) + "\n";
}

} // namespace

TEST(TextDialog, TypingEditsTheFieldAndEnterPressesTheDefaultButton) {
    Answer a = ask(makeDialog(), "100 type ab1.x\n400 tap BACK\n500 tap RETURN\n");
    EXPECT_EQ(a.result, 10);
    EXPECT_EQ(a.text, "ab1.");
    ASSERT_FALSE(a.frames.empty());
    EXPECT_GE(findText(a.frames.front(), "Test Question").first, 0) << "the title on the frame";
    EXPECT_LT(findText(a.frames.back(), "Test Question").first, 0) << "gone once answered";

    // Digits only; the field stops at its length.
    a = ask(makeDialog(TEXT_DIGITS, 3), "100 type 4x2 7 9\n800 tap RETURN\n");
    EXPECT_EQ(a.text, "427");
    // Names start with a letter and take no path signs.
    a = ask(makeDialog(TEXT_FILENAME), "100 type 1a-b c_d.e\n900 tap RETURN\n");
    EXPECT_EQ(a.text, "a-bc_d.e");
    // The field starts with the text given, and Backspace on an empty field
    // does nothing.
    a = ask(makeDialog(), "100 tap BACK\n200 tap BACK\n300 tap BACK\n400 tap RETURN\n", "xy");
    EXPECT_EQ(a.text, "");
}

TEST(TextDialog, EscapePressesTheCancelButtonOnlyWhenThereIsOne) {
    Answer a = ask(makeDialog(), "100 type 12\n300 tap ESCAPE\n");
    EXPECT_EQ(a.result, 20);

    const TextDialog only{"Test Question", "a hint", 12, 20, TEXT_ANY, okOnly, 1, 0, -1, 1};
    // Esc does nothing, and OK refuses an empty field until something is typed.
    a = ask(only, "100 tap ESCAPE\n200 tap RETURN\n300 click 0 0\n400 type n\n500 tap RETURN\n");
    EXPECT_EQ(a.result, 1);
    EXPECT_EQ(a.text, "n");
    EXPECT_GT(a.frames.size(), 4u);
}

TEST(TextDialog, TabMovesTheFocusBetweenTheFieldAndTheButtons) {
    const std::pair<const char *, int32_t> cases[] = {
        // Field -> Set -> Cancel: Enter presses the focused button.
        {"100 tap TAB\n200 tap TAB\n300 tap RETURN\n", 20},
        // Around again to the field: Enter presses the default button.
        {"100 tap TAB\n200 tap TAB\n300 tap TAB\n400 tap RETURN\n", 10},
        // Shift+Tab goes back; the arrows move between the buttons; Space presses.
        {"100 down SHIFT\n150 tap TAB\n200 up SHIFT\n300 tap SPACE\n", 20},
        {"100 tap TAB\n200 tap RIGHT\n300 tap RIGHT\n400 tap RETURN\n", 10},
    };
    for (const auto &[script, result] : cases)
        EXPECT_EQ(ask(makeDialog(), script).result, result) << script;
    // Typing while a button has the focus types into the field.
    Answer a = ask(makeDialog(), "100 tap TAB\n200 type q\n300 tap RETURN\n");
    EXPECT_EQ(a.result, 10);
    EXPECT_EQ(a.text, "q");
}

TEST(TextDialog, TheMouseChoosesButtonsAndFocusesTheField) {
    // Find where things are drawn, then click them.
    Answer first = ask(makeDialog(), "100 tap ESCAPE\n", "xyz");
    const auto cancel = findText(first.frames.front(), "[ Cancel ]");
    const auto set = findText(first.frames.front(), "[ Set ]");
    const auto field = findText(first.frames.front(), "xyz");
    ASSERT_GE(std::min({cancel.first, set.first, field.first}), 0);

    EXPECT_EQ(ask(makeDialog(), click(100, {cancel.first + 9, cancel.second})).result, 20);
    EXPECT_EQ(ask(makeDialog(), click(100, set)).result, 10);
    // A click beside the buttons does nothing.
    EXPECT_EQ(ask(makeDialog(), click(100, {cancel.first + 11, cancel.second}) + "300 tap ESCAPE\n")
                  .result,
              20);
    // Tab to Cancel, then a click on the field: Enter now means the default.
    EXPECT_EQ(ask(makeDialog(), "100 tap TAB\n200 tap TAB\n" +
                                    click(300, {field.first + 5, field.second}) +
                                    "400 tap RETURN\n")
                  .result,
              10);
}

TEST(TextDialog, TheScreenComesBackAndTheClosingKeyIsNotLeftHeld) {
    HeadlessGame game("100 tap 5\n200 down ESCAPE\n900 up ESCAPE\n60000 end\n");
    for (int i = 0; i < SCREEN_WIDTH * SCREEN_HEIGHT; i++)
        backBuffer->cells[i] = Cell{static_cast<uint16_t>('a' + i % 26), 0x07};
    presentScreen();
    const std::vector<Cell> before = headless.lastFrame;
    char text[8] = "";
    EXPECT_EQ(runTextDialog(makeDialog(TEXT_DIGITS), text, sizeof text), 20);
    EXPECT_STREQ(text, "5");
    EXPECT_EQ(headless.lastFrame, before);
    EXPECT_GE(headless.virtualMs, 900u) << "the dialog waited for Esc to go up";
    EXPECT_FALSE(host->keyDown(0x1B));
    EXPECT_EQ(host->pendingEvents(), 0) << "nor is its key-up left for the screen behind";
}
