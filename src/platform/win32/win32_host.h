// The console host: the game in a Windows console window, with the console's
// own font, buffer, palette, key state and input events. Under Windows
// Terminal (which ignores font, size and palette calls) the picture goes out
// as virtual terminal sequences instead. Its parts share this state:
//   win32_console.cpp  set-up of the console and putting it back at exit
//   win32_host.cpp     the host table: time, keys, events, output, window
//   win32_sound.cpp    sound through XAudio2, Ogg Vorbis through stb_vorbis
// Settings from the environment: WOBBLE_CONSOLE=classic|vt (default: vt
// inside Windows Terminal, classic elsewhere).
#pragma once
#include "platform/host.h"
#include "platform/term/term_encoder.h"
#include <cstdint>
#include <string>
#include <vector>
// The virtual-key codes are the ones host.h names.
#define NOVIRTUALKEYCODES
#include <windows.h>
// (after windows.h) the multimedia clock
#include <mmsystem.h>

struct Win32ConsoleState {
    HANDLE in = INVALID_HANDLE_VALUE, out = INVALID_HANDLE_VALUE;
    bool vt = false;       // the picture goes out as virtual terminal sequences
    bool prepared = false; // set-up done, to be put back at exit

    // The player's console as found, put back at exit.
    CONSOLE_SCREEN_BUFFER_INFOEX savedInfo{};
    bool savedInfoKnown = false;
    CONSOLE_FONT_INFOEX savedFont{};
    bool savedFontKnown = false;
    CONSOLE_CURSOR_INFO savedCursor{};
    DWORD savedInMode = 0, savedOutMode = 0;
    UINT savedOutputCodePage = 0;
    wchar_t savedTitle[512] = {};

    uint32_t palette[16] = {};
    // The virtual terminal path: what the terminal shows and the latest frame.
    TermScreen screen;
    std::vector<Cell> frame;
    std::string bytes;
    int windowX = 0, windowY = 0; // where the game put its window (VT: the picture moves)
    DWORD shakeDrawnAt = 0;

    // Keys held as the console's input events tell it (Windows Terminal and
    // some consoles are not seen by GetAsyncKeyState). A release that comes
    // before the game has looked at the key waits until it has, or a while.
    uint8_t held[256] = {};
    uint8_t seen[256] = {};
    DWORD releaseAsked[256] = {}; // when a waiting release came; 0 for none
    std::vector<HostEvent> events;
    int mouseX = 0, mouseY = 0;
    volatile LONG closeAsked = 0; // Ctrl+C by signal, set on the handler's thread
};

extern Win32ConsoleState win32;

// win32_console.cpp
bool win32PrepareConsole(std::string &error);
void win32SetConsolePalette(const uint32_t palette[16]);
// Puts the player's console back as it was found; safe to call more than once.
void win32RestoreConsole();
// Writes bytes to the console (the virtual terminal path).
void win32Write(const std::string &bytes);

// win32_sound.cpp: the host's sound calls. Without an audio device every
// call succeeds silently.
int win32SoundOpen(const char *path, int loop);
void win32SoundRelease(int sound);
void win32SoundSetGroup(int sound, int group);
int win32SoundPlay(int sound);
int win32SoundIsPlaying(int channel);
void win32SoundSetGroupVolume(int group, float volume);
void win32SoundShutdown();
// Decodes the music ahead and lets go of finished effects; called as the game idles.
void win32SoundService();
