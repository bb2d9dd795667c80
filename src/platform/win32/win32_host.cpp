#include "platform/win32/win32_host.h"
#include "platform/hosts.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>

// A release the game has not seen yet still goes through after this long.
constexpr DWORD SEEN_GRACE_MS = 250;
// While the picture shakes inside Windows Terminal it is redrawn at most this often.
constexpr DWORD SHAKE_REDRAW_MS = 30;

// ---- Input ----------------------------------------------------------------------------

static void applyRelease(int vk, DWORD now) {
    if (win32.releaseAsked[vk] &&
        (win32.seen[vk] || now - win32.releaseAsked[vk] > SEEN_GRACE_MS)) {
        win32.held[vk] = 0;
        win32.releaseAsked[vk] = 0;
    }
}

static void takeKey(const KEY_EVENT_RECORD &k, DWORD now) {
    const int vk = k.wVirtualKeyCode & 0xFF;
    const bool ctrl = k.dwControlKeyState & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED);
    if (k.bKeyDown && ctrl && vk == 'C') {
        win32.closeAsked = 1;
        return;
    }
    if (k.bKeyDown) {
        win32.held[vk] = 1;
        win32.seen[vk] = 0;
        win32.releaseAsked[vk] = 0;
    } else if (win32.held[vk]) {
        win32.releaseAsked[vk] = now ? now : 1;
        applyRelease(vk, now);
    }
    HostEvent e{};
    e.type = HOST_EVENT_KEY;
    e.key.keyDown = k.bKeyDown ? 1 : 0;
    e.key.repeatCount = k.wRepeatCount;
    e.key.virtualKeyCode = k.wVirtualKeyCode;
    e.key.virtualScanCode = k.wVirtualScanCode;
    e.key.asciiChar = k.uChar.AsciiChar;
    e.key.controlKeyState = k.dwControlKeyState;
    win32.events.push_back(e);
}

static void takeMouse(const MOUSE_EVENT_RECORD &m) {
    HostEvent e{};
    e.type = HOST_EVENT_MOUSE;
    int x = m.dwMousePosition.X, y = m.dwMousePosition.Y;
    if (win32.vt) { // terminal cells around the picture, not the game's cells
        x = (x - win32.screen.originColumn) / std::max(1, win32.screen.cellColumns);
        y -= win32.screen.originRow;
    }
    e.mouse.x = static_cast<int16_t>(std::clamp(x, 0, SCREEN_WIDTH - 1));
    e.mouse.y = static_cast<int16_t>(std::clamp(y, 0, SCREEN_HEIGHT - 1));
    e.mouse.buttonState = m.dwButtonState;
    e.mouse.controlKeyState = m.dwControlKeyState;
    e.mouse.eventFlags = m.dwEventFlags;
    win32.events.push_back(e);
}

// Reads what the console has waiting, without blocking; a Ctrl+C ends the game.
static void service() {
    const DWORD now = timeGetTime();
    DWORD waiting = 0;
    // Waiting on the handle (not at all long) is what makes some consoles,
    // wine's text console among them, read the keyboard.
    WaitForSingleObject(win32.in, 0);
    while (GetNumberOfConsoleInputEvents(win32.in, &waiting) && waiting > 0) {
        INPUT_RECORD records[64];
        DWORD read = 0;
        if (!ReadConsoleInputA(win32.in, records, 64, &read) || read == 0)
            break;
        for (DWORD i = 0; i < read; i++) {
            const INPUT_RECORD &r = records[i];
            if (r.EventType == KEY_EVENT)
                takeKey(r.Event.KeyEvent, now);
            else if (r.EventType == MOUSE_EVENT)
                takeMouse(r.Event.MouseEvent);
            else if (r.EventType == FOCUS_EVENT && !r.Event.FocusEvent.bSetFocus)
                memset(win32.held, 0, sizeof win32.held); // its releases go elsewhere
        }
    }
    for (int vk = 0; vk < 256; vk++)
        applyRelease(vk, now);
    if (win32.closeAsked && hostCloseRequested) {
        win32.closeAsked = 0;
        hostCloseRequested();
    }
}

// ---- The virtual terminal path ------------------------------------------------------------

// The picture in the middle of the terminal, moved by whole cells when the game moves its window.
static void layOut() {
    CONSOLE_SCREEN_BUFFER_INFO info;
    TermScreen &s = win32.screen;
    if (GetConsoleScreenBufferInfo(win32.out, &info)) {
        s.columns = info.srWindow.Right - info.srWindow.Left + 1;
        s.rows = info.srWindow.Bottom - info.srWindow.Top + 1;
    }
    s.cellColumns = s.columns >= 2 * SCREEN_WIDTH ? 2 : 1;
    auto cellsOf = [](int pixels) { return pixels == 0 ? 0 : pixels < 0 ? -1 : 1; };
    const int column = std::max(0, (s.columns - SCREEN_WIDTH * s.cellColumns) / 2) +
                       cellsOf(win32.windowX) * s.cellColumns;
    const int row = std::max(0, (s.rows - SCREEN_HEIGHT) / 2) + cellsOf(win32.windowY);
    if (column != s.originColumn || row != s.originRow)
        s.shownValid = false;
    s.originColumn = std::max(0, column);
    s.originRow = std::max(0, row);
}

static void drawTerminal() {
    if (win32.frame.empty())
        return;
    layOut();
    win32.bytes.clear();
    termEncodeFrame(win32.screen, win32.frame.data(), SCREEN_WIDTH, SCREEN_HEIGHT, win32.bytes);
    win32Write(win32.bytes);
}

// ---- The host table ---------------------------------------------------------------------

static uint32_t wNow() {
    return timeGetTime();
}

static int64_t wCounter() {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return c.QuadPart;
}

static int64_t wFrequency() {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
}

static void wIdle(uint32_t ms) {
    Sleep(ms);
    service();
    win32SoundService();
}

// Held as the keyboard says (GetAsyncKeyState, the console's own way) or as
// the console's events say. The events are read once per key snapshot.
static int wKeyDown(int vk) {
    if (vk < 0 || vk > 255)
        return 0;
    if (vk == 0)
        service();
    if (win32.held[vk]) {
        win32.seen[vk] = 1;
        return 1;
    }
    return (GetAsyncKeyState(vk) & 0x8000) != 0;
}

static int wPending() {
    service();
    return static_cast<int>(win32.events.size());
}

static int wRead(HostEvent *out, int max) {
    const int n = std::min<int>(max, static_cast<int>(win32.events.size()));
    std::copy(win32.events.begin(), win32.events.begin() + n, out);
    win32.events.erase(win32.events.begin(), win32.events.begin() + n);
    return n;
}

static void wPresent(const Cell *cells, int width, int height) {
    if (win32.vt) {
        win32.frame.assign(cells, cells + width * height);
        drawTerminal();
        return;
    }
    // A cell is laid out as the console's CHAR_INFO: character, then attribute.
    static_assert(sizeof(Cell) == sizeof(CHAR_INFO));
    SMALL_RECT area{0, 0, static_cast<SHORT>(width - 1), static_cast<SHORT>(height - 1)};
    WriteConsoleOutputA(win32.out, reinterpret_cast<const CHAR_INFO *>(cells),
                        COORD{static_cast<SHORT>(width), static_cast<SHORT>(height)}, COORD{0, 0},
                        &area);
}

static void wSetPalette(const uint32_t palette[16]) {
    memcpy(win32.palette, palette, sizeof win32.palette);
    if (!win32.vt) {
        win32SetConsolePalette(palette);
        return;
    }
    win32.bytes.clear();
    termEncodePalette(win32.screen, palette, win32.bytes);
    win32Write(win32.bytes);
    drawTerminal();
}

static void wGetPalette(uint32_t palette[16]) {
    memcpy(palette, win32.palette, sizeof win32.palette);
}

static void wSetTitle(const char *title) {
    SetConsoleTitleA(title ? title : "");
}

static int wGetWindowRect(HostRect *rect) {
    RECT r;
    HWND window = GetConsoleWindow();
    if (!win32.vt && window && GetWindowRect(window, &r)) {
        *rect = HostRect{r.left, r.top, r.right, r.bottom};
        return 1;
    }
    *rect = HostRect{win32.windowX, win32.windowY, win32.windowX + SCREEN_WIDTH * CELL_PIXELS,
                     win32.windowY + SCREEN_HEIGHT * CELL_PIXELS};
    return 1;
}

// Windows Terminal's window cannot be moved from inside: the picture moves in it.
static void wMoveWindow(int x, int y) {
    HWND window = GetConsoleWindow();
    if (!win32.vt && window) {
        SetWindowPos(window, HWND_TOPMOST, static_cast<int16_t>(x), static_cast<int16_t>(y), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
        return;
    }
    win32.windowX = x;
    win32.windowY = y;
    if (win32.vt && timeGetTime() - win32.shakeDrawnAt >= SHAKE_REDRAW_MS) {
        win32.shakeDrawnAt = timeGetTime();
        drawTerminal();
    }
}

static void wShutdown() {
    timeEndPeriod(1);
    win32RestoreConsole();
}

static const SoundHost win32Sound = {
    .open = win32SoundOpen,
    .release = win32SoundRelease,
    .setGroup = win32SoundSetGroup,
    .play = win32SoundPlay,
    .isPlaying = win32SoundIsPlaying,
    .setGroupVolume = win32SoundSetGroupVolume,
    .shutdown = win32SoundShutdown,
};

static Host win32Host = {
    .name = "win32",
    .now = wNow,
    .counter = wCounter,
    .counterFrequency = wFrequency,
    .idle = wIdle,
    .keyDown = wKeyDown,
    .pendingEvents = wPending,
    .readEvents = wRead,
    .present = wPresent,
    .setPalette = wSetPalette,
    .getPalette = wGetPalette,
    .setTitle = wSetTitle,
    .getWindowRect = wGetWindowRect,
    .moveWindow = wMoveWindow,
    .sound = &win32Sound,
    .shutdown = wShutdown,
};

// Windows Terminal sets WT_SESSION for the programs it starts.
static bool insideWindowsTerminal() {
    const char *chosen = getenv("WOBBLE_CONSOLE");
    if (chosen && *chosen)
        return strcmp(chosen, "vt") == 0;
    const char *session = getenv("WT_SESSION");
    return session && *session;
}

Host *createWin32Host(std::string &error) {
    win32.vt = insideWindowsTerminal();
    if (!win32PrepareConsole(error))
        return nullptr;
    atexit(win32RestoreConsole);
    // Sleep(1) sleeps about a millisecond, not a scheduler tick.
    timeBeginPeriod(1);
    // The console's own colours are what the game keeps to put back at exit.
    memcpy(win32.palette, standardPalette, sizeof win32.palette);
    if (win32.savedInfoKnown && !win32.vt)
        memcpy(win32.palette, win32.savedInfo.ColorTable, sizeof win32.palette);
    win32.screen.colourMode = TERM_COLOURS_24BIT;
    memcpy(win32.screen.palette, standardPalette, sizeof standardPalette);
    return &win32Host;
}
