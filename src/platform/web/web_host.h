// The browser host: the game in a canvas on a web page, built to WebAssembly.
// The game's waits give the page back to the browser (asyncify); the page's
// script (web/page.js) hands keys and the mouse to the exported web* calls.
// Its parts share this state.
#pragma once
#include "platform/host.h"
#include <cstdint>
#include <deque>
#include <vector>

struct WebHostState {
    // The latest frame, its palette and the rows the canvas does not show yet
    // (staleTop > staleBottom when it shows them all).
    std::vector<Cell> cells;
    int width = 0, height = 0;
    // A console's colours until the game sets its own (0x00BBGGRR).
    uint32_t palette[16] = {};
    int staleTop = 0, staleBottom = -1;
    // The canvas's pixels, 0xAABBGGRR (bytes R, G, B, A as a canvas wants them).
    std::vector<uint32_t> pixels;

    // Keys held now (virtual-key codes), mouse buttons (console bits), the
    // mouse's cell, and console events not yet read by the game.
    uint8_t held[256] = {};
    uint32_t mouseButtons = 0;
    int16_t mouseX = 0, mouseY = 0;
    std::deque<HostEvent> queue;

    // The window's place is fixed; the shake moves the canvas inside the page.
    int offsetX = 0, offsetY = 0;

    // A stepped clock, for tests: time moves only when the game idles, and
    // stops at stepLimit until the page lets it go on, so that input comes at
    // exact times as in the headless host.
    bool stepped = false;
    uint64_t virtualMs = 0;
    uint64_t stepLimit = 0;

    // Main-thread time the game spends between two waits, and frames shown.
    double busyMs = 0;
    double wokeAt = 0;
    uint64_t frames = 0;
};

extern WebHostState web;

// Drawing (web_canvas.cpp).
void webPresent(const Cell *cells, int width, int height);
void webSetPalette(const uint32_t palette[16]);
void webGetPalette(uint32_t palette[16]);

// Sound, played by the page's audio (web_sound.js): music loops without a
// seam on a voice of its own, each effect plays on its own voice, and each
// of the two groups has its own volume stage. Sound starts with the player's
// first key or click, as browsers ask.
extern "C" {
int wobbleSoundOpen(const char *path, int loop);
void wobbleSoundRelease(int sound);
void wobbleSoundSetGroup(int sound, int group);
int wobbleSoundPlay(int sound);
int wobbleSoundIsPlaying(int channel);
void wobbleSoundSetGroupVolume(int group, float volume);
void wobbleSoundShutdown();
}
