// Turning the bytes a terminal sends into the game's key and mouse events
// and its held-key state. Two kinds of terminal: those that speak the kitty
// keyboard protocol report presses, repeats and releases; the others send
// only characters: a lone character is a short tap, and a key counts as held
// while its autorepeat runs.
#pragma once
#include "platform/host.h"
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct TermHeldKey {
    bool held = false;
    bool seen = false;        // the game has seen it held since it went down
    bool upSent = false;      // its key-up event is out (the kitty protocol sends it at once)
    uint32_t lastArrival = 0; // kept after it goes up, to tell autorepeat from a new press
    uint32_t releaseAt = 0;   // when it counts as let go; 0 while it stays held
    char ch = 0;
};

struct TermInput {
    bool kitty = false; // key events carry press, repeat and release
    // Where the picture sits, to turn terminal positions into cells.
    int cellColumns = 2;
    int originColumn = 0, originRow = 0;
    int width = SCREEN_WIDTH, height = SCREEN_HEIGHT;

    std::string pending; // the start of a sequence still arriving
    uint32_t pendingSince = 0;
    std::array<TermHeldKey, 256> keys{};
    uint32_t mouseButtons = 0;
    int mouseX = -1, mouseY = -1;  // the cell of the latest mouse event, -1 before any
    std::vector<HostEvent> events; // decoded, waiting to be read

    // Asked of the host: Ctrl+C closes, Ctrl+Z suspends.
    bool closeRequested = false;
    bool suspendRequested = false;
    // Answers to the start-up questions.
    bool kittyAnswered = false;
    bool paletteAnswered = false;
    bool deviceAnswered = false;
};

// A lone Esc is a key only when nothing follows it this soon.
constexpr uint32_t TERM_ESC_WAIT_MS = 50;
// Without the kitty protocol: how long a lone press holds its key, a tap that
// walks the player a step or two.
constexpr uint32_t TERM_TAP_MS = 30;
// Arrivals of one key closer than this are its autorepeat (30 a second on
// most keyboards; a person does not type one key that fast).
constexpr uint32_t TERM_REPEAT_GAP_MS = 150;
// While autorepeat runs the key stays held this long past the next beat.
constexpr uint32_t TERM_REPEAT_SLACK_MS = 20;
// A key goes up only after the game has seen it held, or after this grace.
constexpr uint32_t TERM_SEEN_GRACE_MS = 250;

// Decodes the bytes; sequences cut off at the end wait for the rest.
void termInputFeed(TermInput &in, const char *bytes, size_t count, uint32_t now);
// Lets time pass: a lone Esc becomes a key, held keys whose time is up go up.
void termInputTick(TermInput &in, uint32_t now);
// Is the key held; counts as the game having seen it.
bool termInputKeyHeld(TermInput &in, int virtualKey);
// Every key goes up now (focus lost, suspended, too small to play).
void termInputReleaseAll(TermInput &in);
// Milliseconds until a timeout is due, or -1 when none is waiting.
int termInputWakeIn(const TermInput &in, uint32_t now);
