#include "platform/win32/win32_host.h"
#include <cstdio>
#include <cstring>

Win32ConsoleState win32;

constexpr SHORT COLUMNS = SCREEN_WIDTH, ROWS = SCREEN_HEIGHT;

// ---- Font ---------------------------------------------------------------------

// Entry points the console has had since its early days but never documented.
struct ConsoleFontEntry {
    DWORD index;
    COORD size;
};
using SetConsoleFontFn = BOOL(WINAPI *)(HANDLE, DWORD);
using GetConsoleFontInfoFn = BOOL(WINAPI *)(HANDLE, BOOL, DWORD, ConsoleFontEntry *);
using GetNumberOfConsoleFontsFn = DWORD(WINAPI *)();

template <typename Fn> static Fn kernelEntry(const char *name) {
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    return kernel ? reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(kernel, name)))
                  : nullptr;
}

// The first 8 x 8 font in the console's own list, where the old calls exist.
static bool selectListedSquareFont() {
    auto setFont = kernelEntry<SetConsoleFontFn>("SetConsoleFont");
    auto fontInfo = kernelEntry<GetConsoleFontInfoFn>("GetConsoleFontInfo");
    auto fontCount = kernelEntry<GetNumberOfConsoleFontsFn>("GetNumberOfConsoleFonts");
    if (!setFont || !fontInfo || !fontCount)
        return false;
    ConsoleFontEntry table[30] = {};
    const DWORD n = fontCount() < 30 ? fontCount() : 30;
    if (!fontInfo(win32.out, FALSE, n, table))
        return false;
    for (DWORD i = 0; i < n; i++) {
        const COORD size = GetConsoleFontSize(win32.out, table[i].index);
        if (size.X == 8 && size.Y == 8)
            return setFont(win32.out, table[i].index) != 0;
    }
    return false;
}

// The raster font at 8 x 8 through the documented call.
static bool selectRasterSquareFont() {
    CONSOLE_FONT_INFOEX font{};
    font.cbSize = sizeof font;
    font.dwFontSize = {8, 8};
    font.FontFamily = FF_DONTCARE;
    font.FontWeight = FW_NORMAL;
    wcscpy(font.FaceName, L"Terminal");
    if (!SetCurrentConsoleFontEx(win32.out, FALSE, &font))
        return false;
    CONSOLE_FONT_INFOEX now{};
    now.cbSize = sizeof now;
    return GetCurrentConsoleFontEx(win32.out, FALSE, &now) && now.dwFontSize.X == 8 &&
           now.dwFontSize.Y == 8;
}

static void selectSquareFont() {
    // A console drawn in a text terminal (wine's, with no display) has no
    // font of its own, and changing it brings that console down.
    if (!win32.savedFontKnown)
        return;
    if (selectListedSquareFont() || selectRasterSquareFont())
        return;
    fprintf(stderr, "The requested font size was not found!\n");
    // A console without a window of its own (a terminal inside another
    // program) has no one to click the box away.
    if (GetConsoleWindow())
        MessageBoxA(nullptr,
                    "There was an error setting the correct font size\n"
                    "please set your console's font size to 8 x 8.",
                    "Fonting Error", MB_OK);
}

// ---- Size -----------------------------------------------------------------------

// Window and buffer both 116 x 88. A buffer too small for the window is first
// grown past it, since the window can never be larger than its buffer.
static bool setConsoleSize() {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(win32.out, &info))
        return false;
    if (info.dwSize.X <= COLUMNS || info.dwSize.Y <= ROWS)
        SetConsoleScreenBufferSize(win32.out, COORD{COLUMNS + 1, ROWS + 1});
    const SMALL_RECT window{0, 0, COLUMNS - 1, ROWS - 1};
    SetConsoleWindowInfo(win32.out, TRUE, &window);
    SetConsoleScreenBufferSize(win32.out, COORD{COLUMNS, ROWS});
    return true;
}

// ---- Palette --------------------------------------------------------------------

// Windows before Vista (major version 5) has no extended buffer calls; the
// palette then goes to the console window as a settings block.
static bool hasExtendedConsoleInfo() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const bool known = GetVersionExA(&version);
#pragma GCC diagnostic pop
    return !known || version.dwMajorVersion >= 6;
}

// Writing the info back shrinks the window by one row and column unless the
// (inclusive) window rectangle is widened first.
static void writeBufferInfo(CONSOLE_SCREEN_BUFFER_INFOEX info) {
    info.srWindow.Right++;
    info.srWindow.Bottom++;
    SetConsoleScreenBufferInfoEx(win32.out, &info);
}

static void setPaletteExtended(const uint32_t palette[16]) {
    CONSOLE_SCREEN_BUFFER_INFOEX info{};
    info.cbSize = sizeof info;
    if (!GetConsoleScreenBufferInfoEx(win32.out, &info))
        return;
    memcpy(info.ColorTable, palette, sizeof info.ColorTable);
    writeBufferInfo(info);
}

// The console window's settings block (message WM_USER + 201), little-endian.
#pragma pack(push, 1)
struct ConsoleInfoBlock {
    uint32_t length;
    COORD bufferSize;
    uint16_t windowWidth, windowHeight;
    int32_t windowX, windowY;
    COORD fontSize;
    uint32_t fontFamily, fontWeight;
    wchar_t faceName[32];
    uint32_t cursorSize, fullScreen, quickEdit, autoPosition, insertMode;
    uint16_t screenColours, popupColours;
    uint32_t historyNoDuplicates, historyBufferSize, historyBuffers;
    uint32_t colourTable[16];
    uint32_t codePage;
    uint32_t window; // the handle as the 32-bit console process reads it
    wchar_t title[256];
};
#pragma pack(pop)
static_assert(sizeof(ConsoleInfoBlock) == 716);

// The block travels in a shared section duplicated into the console's own
// process; a thread started there closes that handle again afterwards.
static void sendConsoleInfo(HWND window, const ConsoleInfoBlock &block) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);
    if (!process)
        return;
    HANDLE section =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof block, nullptr);
    if (section) {
        if (void *view =
                MapViewOfFile(section, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof block)) {
            memcpy(view, &block, sizeof block);
            UnmapViewOfFile(view);
            HANDLE remote = nullptr;
            if (DuplicateHandle(GetCurrentProcess(), section, process, &remote, 0, FALSE,
                                DUPLICATE_SAME_ACCESS)) {
                SendMessageA(window, WM_USER + 201, reinterpret_cast<WPARAM>(remote), 0);
                HANDLE thread = CreateRemoteThread(
                    process, nullptr, 0,
                    reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void *>(CloseHandle)),
                    remote, 0, nullptr);
                if (thread)
                    CloseHandle(thread);
            }
        }
        CloseHandle(section);
    }
    CloseHandle(process);
}

static void setPaletteLegacy(const uint32_t palette[16]) {
    HWND window = GetConsoleWindow();
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!window || !GetConsoleScreenBufferInfo(win32.out, &info))
        return;
    ConsoleInfoBlock block{};
    block.length = sizeof block;
    block.bufferSize = info.dwSize;
    block.windowWidth = static_cast<uint16_t>(info.srWindow.Right - info.srWindow.Left + 1);
    block.windowHeight = static_cast<uint16_t>(info.srWindow.Bottom - info.srWindow.Top + 1);
    block.windowX = info.srWindow.Left;
    block.windowY = info.srWindow.Top;
    CONSOLE_FONT_INFO font;
    if (GetCurrentConsoleFont(win32.out, FALSE, &font))
        block.fontSize = GetConsoleFontSize(win32.out, font.nFont);
    block.cursorSize = 25;
    block.autoPosition = 0x10000;
    block.insertMode = 1;
    block.screenColours = 0x0007;
    block.popupColours = 0x0F05;
    block.historyBufferSize = 50;
    block.historyBuffers = 4;
    memcpy(block.colourTable, palette, sizeof block.colourTable);
    block.window = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window));
    sendConsoleInfo(window, block);
}

void win32SetConsolePalette(const uint32_t palette[16]) {
    if (hasExtendedConsoleInfo())
        setPaletteExtended(palette);
    else
        setPaletteLegacy(palette);
}

// ---- Entering and leaving -------------------------------------------------------------

void win32Write(const std::string &bytes) {
    DWORD written = 0;
    for (size_t at = 0; at < bytes.size(); at += written)
        if (!WriteFile(win32.out, bytes.data() + at, static_cast<DWORD>(bytes.size() - at),
                       &written, nullptr) ||
            written == 0)
            return;
}

static void saveConsole() {
    GetConsoleMode(win32.in, &win32.savedInMode);
    GetConsoleMode(win32.out, &win32.savedOutMode);
    win32.savedOutputCodePage = GetConsoleOutputCP();
    GetConsoleCursorInfo(win32.out, &win32.savedCursor);
    GetConsoleTitleW(win32.savedTitle, 512);
    win32.savedInfo.cbSize = sizeof win32.savedInfo;
    win32.savedInfoKnown = GetConsoleScreenBufferInfoEx(win32.out, &win32.savedInfo);
    win32.savedFont.cbSize = sizeof win32.savedFont;
    win32.savedFontKnown = GetCurrentConsoleFontEx(win32.out, FALSE, &win32.savedFont) &&
                           win32.savedFont.dwFontSize.Y > 0;
}

static BOOL WINAPI onConsoleControl(DWORD event);
static LONG WINAPI onCrash(EXCEPTION_POINTERS *);

bool win32PrepareConsole(std::string &error) {
    win32.in = GetStdHandle(STD_INPUT_HANDLE);
    win32.out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode;
    if (!GetConsoleMode(win32.out, &mode) || !GetConsoleMode(win32.in, &mode)) {
        error = "no console here: start wobblewick.exe from a console window or Windows Terminal";
        return false;
    }
    saveConsole();
    win32.prepared = true;
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
    SetUnhandledExceptionFilter(onCrash);
    // Mouse events in cells; no quick-edit selection, line input, echo or Ctrl+C signal.
    SetConsoleMode(win32.in, ENABLE_EXTENDED_FLAGS | ENABLE_MOUSE_INPUT);
    if (win32.vt) {
        SetConsoleOutputCP(CP_UTF8);
        SetConsoleMode(win32.out, ENABLE_PROCESSED_OUTPUT | ENABLE_VIRTUAL_TERMINAL_PROCESSING |
                                      DISABLE_NEWLINE_AUTO_RETURN);
        // The alternate screen, no cursor, mouse reports off (the console reports the mouse).
        win32Write("\x1b[?1049h\x1b[?25l\x1b[2J");
        return true;
    }
    selectSquareFont();
    if (!setConsoleSize()) {
        error = "the console's buffer cannot be read";
        return false;
    }
    SetConsoleOutputCP(437);
    CONSOLE_CURSOR_INFO cursor{1, FALSE};
    SetConsoleCursorInfo(win32.out, &cursor);
    return true;
}

void win32RestoreConsole() {
    if (!win32.prepared)
        return;
    win32.prepared = false;
    if (win32.vt)
        win32Write("\x1b[0m\x1b[?25h\x1b[?1049l");
    if (win32.savedFontKnown)
        SetCurrentConsoleFontEx(win32.out, FALSE, &win32.savedFont);
    if (win32.savedInfoKnown && !win32.vt)
        writeBufferInfo(win32.savedInfo);
    SetConsoleOutputCP(win32.savedOutputCodePage);
    SetConsoleCursorInfo(win32.out, &win32.savedCursor);
    SetConsoleMode(win32.in, win32.savedInMode);
    SetConsoleMode(win32.out, win32.savedOutMode);
    SetConsoleTitleW(win32.savedTitle);
}

// Closing the console window, logging off or shutting down: the console is
// put back while the system waits for this handler. Ctrl+C mostly reaches the
// game as a key (the input mode keeps it from becoming a signal).
static BOOL WINAPI onConsoleControl(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        win32.closeAsked = 1; // the game's own way out, from its own thread
        return TRUE;
    }
    win32RestoreConsole();
    return FALSE;
}

static LONG WINAPI onCrash(EXCEPTION_POINTERS *) {
    win32RestoreConsole();
    return EXCEPTION_CONTINUE_SEARCH;
}
