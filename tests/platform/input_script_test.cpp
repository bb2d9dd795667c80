#include "platform/headless/input_script.h"
#include <gtest/gtest.h>

TEST(InputScript, ParsesEveryKindOfLineInTimeOrder) {
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(parseInputScript("# a comment\n"
                                 "100 tap RETURN   # Enter\n"
                                 "50 down 0x53\n"
                                 "60 up s\n"
                                 "200 type a1\n"
                                 "300 click 4 5\n"
                                 "400 move 9 8\n"
                                 "\n"
                                 "900 end\n",
                                 events, error))
        << error;
    ASSERT_EQ(events.size(), 13u);
    EXPECT_EQ(events[0].time, 50u);
    EXPECT_EQ(events[0].event.key.virtualKeyCode, 0x53);
    EXPECT_EQ(events[1].event.key.keyDown, 0);
    EXPECT_EQ(events[2].event.key.virtualKeyCode, 0x0D);
    EXPECT_EQ(events[3].time, 120u) << "a tap lets go 20 ms later";
    EXPECT_EQ(events[4].event.key.asciiChar, 'a');
    EXPECT_EQ(events[6].event.key.asciiChar, '1');
    EXPECT_EQ(events[6].time, 240u);
    EXPECT_EQ(events[8].event.mouse.eventFlags, 1u) << "a click first moves the mouse there";
    EXPECT_EQ(events[9].event.mouse.buttonState, 1u);
    EXPECT_EQ(events[10].event.mouse.buttonState, 0u);
    EXPECT_EQ(events[12].kind, ScriptEvent::END);
}

TEST(InputScript, NamesEveryKeyTheGameUses) {
    std::vector<int> keys;
    for (const char *name :
         {"LEFT", "PRIOR", "NEXT", "F1", "F12", "F13", "7", "z", "0x1FF", "BANANA"})
        keys.push_back(virtualKeyFromName(name));
    EXPECT_EQ(keys, (std::vector<int>{0x25, 0x21, 0x22, 0x70, 0x7B, -1, '7', 'Z', -1, -1}));
}

TEST(InputScript, BadLinesAreReportedWithTheirNumber) {
    const struct {
        const char *script;
        const char *message;
    } cases[] = {
        {"10 tap A\nabc tap A\n", "line 2: expected a time"},
        {"10 tap BANANA\n", "line 1: unknown key 'BANANA'"},
        {"\n\n10 jump A\n", "line 3: unknown action 'jump'"},
        {"10 click 3\n", "line 1: expected a column and a row"},
        {"10 down\n", "line 1: missing a key name"},
        {"10 tap A B\n", "line 1: unexpected 'B'"},
        {"-5 tap A\n", "line 1: expected a time"},
        {"10\n", "line 1: missing an action"},
        // Times that do not fit the 32-bit clock are refused, not wrapped.
        {"10 tap A\n4294967296 tap A\n", "line 2: the time 4294967296 is past the last"},
        {"4294967290 tap A\n", "line 1: the time 4294967290 is past the last"},
        {"99999999999999999999999 end\n", "line 1: the time"},
        {"4294967200 type hello\n", "line 1: the typing goes on past"},
    };
    for (const auto &c : cases) {
        std::vector<ScriptEvent> events;
        std::string error;
        EXPECT_FALSE(parseInputScript(c.script, events, error)) << c.script;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

TEST(InputScript, AFolderIsNoScript) {
    std::vector<ScriptEvent> events;
    std::string error;
    EXPECT_FALSE(loadInputScript("/tmp", events, error));
    EXPECT_EQ(error, "/tmp: is a folder, not an input script");
}
