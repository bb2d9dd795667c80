// The one narrow interface between the game and the machine it runs on.
// The game reads time, keys, events, the window and sound only through `host`;
// it never includes an operating-system header.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

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

    // Sound. Handles and channels are small positive numbers; 0 and -1 mean none.
    int (*soundOpen)(const char *path, int loop);
    void (*soundRelease)(int sound);
    void (*soundSetGroup)(int sound, int group);
    int (*soundPlay)(int sound);
    int (*soundIsPlaying)(int channel);
    void (*soundSetGroupVolume)(int group, float volume);
    void (*soundShutdown)();

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
