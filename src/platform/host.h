// The one narrow interface between the game and the machine it runs on.
// The game reads time, keys, events, the window and sound only through `host`;
// it never includes an operating-system header.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// The screen is a grid of 116 x 88 character cells; a cell is 8 x 8 pixels
// wherever the picture is drawn as pixels.
constexpr int SCREEN_WIDTH = 116;
constexpr int SCREEN_HEIGHT = 88;
constexpr int CELL_PIXELS = 8;

// The 16 colours a console starts with (0x00BBGGRR), until the game sets its own.
inline constexpr uint32_t standardPalette[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// Windows virtual-key codes. Letters and digits are their own upper-case
// ASCII codes ('A', '7'); F1 to F24 run on from VK_F1.
enum VirtualKey : int {
    VK_LBUTTON = 0x01,
    VK_RBUTTON = 0x02,
    VK_MBUTTON = 0x04,
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_SNAPSHOT = 0x2C,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_LWIN = 0x5B,
    VK_RWIN = 0x5C,
    VK_APPS = 0x5D,
    VK_NUMPAD0 = 0x60, // to VK_NUMPAD9 = 0x69
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70,
    VK_F5 = 0x74,
    VK_F9 = 0x78,
    VK_F12 = 0x7B,
    VK_NUMLOCK = 0x90,
    VK_SCROLL = 0x91,
    VK_LSHIFT = 0xA0,
    VK_RSHIFT = 0xA1,
    VK_LCONTROL = 0xA2,
    VK_RCONTROL = 0xA3,
    VK_LMENU = 0xA4,
    VK_RMENU = 0xA5,
    // Punctuation keys, named by their US characters.
    VK_OEM_1 = 0xBA, // ;
    VK_OEM_PLUS = 0xBB,
    VK_OEM_COMMA = 0xBC,
    VK_OEM_MINUS = 0xBD,
    VK_OEM_PERIOD = 0xBE,
    VK_OEM_2 = 0xBF,   // /
    VK_OEM_3 = 0xC0,   // `
    VK_OEM_4 = 0xDB,   // [
    VK_OEM_5 = 0xDC,   // backslash
    VK_OEM_6 = 0xDD,   // ]
    VK_OEM_7 = 0xDE,   // '
    VK_OEM_102 = 0xE2, // the extra key beside the left Shift
};

// The control-key state a key or mouse event carries.
enum ControlKeyState : uint32_t {
    CONTROL_RIGHT_ALT = 0x0001,
    CONTROL_LEFT_ALT = 0x0002,
    CONTROL_RIGHT_CTRL = 0x0004,
    CONTROL_LEFT_CTRL = 0x0008,
    CONTROL_SHIFT = 0x0010,
    CONTROL_NUM_LOCK = 0x0020,
    CONTROL_SCROLL_LOCK = 0x0040,
    CONTROL_CAPS_LOCK = 0x0080,
    CONTROL_ENHANCED_KEY = 0x0100, // a key of the grey block beside the main keyboard
};

// One character cell: the character in code page 437 (low byte) and the
// 16-colour attribute (bits 0-3 foreground, 4-7 background). The layout is the
// console's own, so frames and .srf files share bytes.
struct Cell {
    uint16_t ch;
    uint16_t attr;
    friend bool operator==(const Cell &, const Cell &) = default;
};
static_assert(sizeof(Cell) == 4);

// A key went down or up. Virtual-key codes are the Windows ones throughout.
struct KeyEventRecord {
    int32_t keyDown;
    uint16_t repeatCount;
    uint16_t virtualKeyCode;
    uint16_t virtualScanCode;
    char asciiChar; // the character as typed, 0 when the key has none
    uint32_t controlKeyState;
};

// Mouse position in cells, button bits (bit 0 the left button) and event flags
// (0 a button changed, 1 the mouse moved).
struct MouseEventRecord {
    int16_t x;
    int16_t y;
    uint32_t buttonState;
    uint32_t controlKeyState;
    uint32_t eventFlags;
};

enum HostEventType { HOST_EVENT_KEY = 1, HOST_EVENT_MOUSE = 2 };

struct HostEvent {
    int32_t type;
    KeyEventRecord key;
    MouseEventRecord mouse;
};

// Window rectangle in desktop pixels.
struct HostRect {
    int32_t left, top, right, bottom;
};

enum SoundGroupId { SOUND_GROUP_BGM = 0, SOUND_GROUP_FX = 1 };

// The sound calls a host gives. Handles and channels are small positive
// numbers; 0 and -1 mean none.
struct SoundHost {
    int (*open)(const char *path, int loop);
    void (*release)(int sound);
    void (*setGroup)(int sound, int group);
    int (*play)(int sound);
    int (*isPlaying)(int channel);
    void (*setGroupVolume)(int group, float volume);
    void (*shutdown)();
};

// Plays nothing, for a host without a sound device.
extern const SoundHost silentSound;

struct Host {
    const char *name;

    // Time. `now` is a millisecond clock that wraps like an unsigned 32-bit
    // counter; `counter`/`counterFrequency` are the high-resolution clock.
    // `idle` gives the processor back for about `ms` milliseconds.
    uint32_t (*now)();
    int64_t (*counter)();
    int64_t (*counterFrequency)();
    void (*idle)(uint32_t ms);

    // Keyboard: is the key held right now.
    int (*keyDown)(int virtualKey);

    // Console events waiting to be read, and reading (and removing) them.
    int (*pendingEvents)();
    int (*readEvents)(HostEvent *out, int max);

    // Output: the whole frame, the 16-entry palette (0x00BBGGRR) and the title.
    void (*present)(const Cell *cells, int width, int height);
    void (*setPalette)(const uint32_t palette[16]);
    void (*getPalette)(uint32_t palette[16]);
    void (*setTitle)(const char *title);

    // Window rectangle in desktop pixels (0 when the host has none) and moving
    // it. Hosts that cannot move a window move the picture inside it instead.
    int (*getWindowRect)(HostRect *rect);
    void (*moveWindow)(int x, int y);

    // Sound: the host's own calls, or silentSound where it has none.
    const SoundHost *sound;

    // Leaves the machine as it was found (terminal modes, palette); called once at exit.
    void (*shutdown)();
};

// The active host, chosen once at start-up.
extern Host *host;

// Called by a host when the user closes the program (window closed, Ctrl+C,
// the end of an input script). Runs the game's exit path and never returns.
extern void (*hostCloseRequested)();

// Files. The game names each file by its path under the data ("data\\levels\\x.lvl",
// either slash). The player's own copy is read when there is one, else the shipped
// file; writes go to the player's folder only. A path that leaves those folders (by
// "..", as an absolute path or through a link), anything but a regular file and a
// file over 16 MiB are refused with one line on standard error and count as missing.

// Opens a file for reading ("r", "rt", "rb") or the player's file for update ("r+").
// Null when it is missing or refused.
FILE *openDataFile(const char *path, const char *mode);
// The same, and a file that is simply missing is reported on standard error too.
FILE *openDataFileOrReport(const char *path, const char *mode);
// The real file a path names, for messages and for the sound host; "" when refused.
std::string dataPath(const char *path);
// Writes the player's file whole, so that a crash leaves the old one or the new
// one. Returns 1 on success; 0 with errno set.
int replaceDataFile(const char *path, const void *data, size_t size);
// Pushes a stream's written bytes through to the disk.
void syncStream(FILE *stream);
// Makes a new, empty folder of its own in the system's temporary folder
// (named after `prefix`) and returns its path, or "" when none can be made.
std::string makeTempFolder(const char *prefix);
