// A known scene shown through the terminal host, for the tmux test and for
// trying a terminal by hand: text, the sixteen colours, the code-page
// symbols, lines and blocks, and lines that show the latest key event, the
// held keys and the modes the host chose.
// Keys (on release): P swaps the palette, K shakes the picture for a second,
// Q quits, F crashes on purpose (the terminal must come back all the same).
#include "console/console_setup.h"
#include "console/surface.h"
#include "input/keyboard.h"
#include "platform/hosts.h"
#include "platform/term/term_host.h"
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

static std::string lastKey = "-";
static int keyEvents = 0;
static uint32_t startTime;

static void put(int x, int y, const std::string &text, uint16_t attr = 0x07) {
    for (size_t i = 0; i < text.size() && x + static_cast<int>(i) < SCREEN_WIDTH; i++)
        backBuffer->cells[y * SCREEN_WIDTH + x + static_cast<int>(i)] =
            Cell{static_cast<uint8_t>(text[i]), attr};
}

static std::string hex(unsigned value) {
    char text[16];
    snprintf(text, sizeof text, "%02X", value);
    return text;
}

static void onSceneKey(KeyEventRecord k) {
    keyEvents++;
    std::string text = k.keyDown ? "DOWN " : "UP ";
    text += hex(k.virtualKeyCode);
    if (k.asciiChar >= 0x20 && k.asciiChar < 0x7F)
        text += std::string(" '") + k.asciiChar + "'";
    if (k.controlKeyState)
        text += " STATE " + hex(k.controlKeyState);
    lastKey = text;
}

static void drawScene() {
    clearScreen();
    put(2, 0, "TERMINAL CHECK", 0x0F);
    for (int i = 1; i < 32; i++)
        backBuffer->cells[2 * SCREEN_WIDTH + 1 + i] = Cell{static_cast<uint16_t>(i), 0x0E};
    backBuffer->cells[2 * SCREEN_WIDTH + 33] = Cell{127, 0x0E};
    for (int i = 0; i < 48; i++)
        backBuffer->cells[3 * SCREEN_WIDTH + 2 + i] = Cell{static_cast<uint16_t>(0xB0 + i), 0x0B};
    for (int i = 0; i < 16; i++) {
        const char digit = "0123456789ABCDEF"[i];
        put(2 + 2 * i, 5, std::string(1, digit),
            static_cast<uint16_t>((i << 4) | (i < 8 ? 15 : 0)));
        put(3 + 2 * i, 5, "\xDB", static_cast<uint16_t>(i));
    }
    put(2, 14, "KEY " + lastKey);
    std::string held;
    for (int vk = 1; vk < 256; vk++)
        if (currentKeys[vk])
            held += " " + hex(static_cast<unsigned>(vk));
    put(2, 15, "HELD" + (held.empty() ? std::string(" -") : held));
    put(2, 18, "EVENTS " + std::to_string(keyEvents));
    const char *colours[] = {"palette", "24bit", "256"};
    put(2, 19,
        std::string("MODE keys=") + (termInput.kitty ? "kitty" : "legacy") + " colours=" +
            colours[termScreen.colourMode] + " columns=" + std::to_string(termScreen.cellColumns),
        0x08);
    put(2, 21, "P palette  K shake  Q quit  F crash", 0x07);
    // Tenths of a second on the host's clock since the start.
    put(2, 85, "CLOCK " + std::to_string((host->now() - startTime) / 100), 0x08);
    put(113, 87, "END", 0x0F);
}

static void sceneClosed() {
    host->shutdown();
    printf("scene closed\n");
    exit(0);
}

int main() {
    std::string error;
    host = createTermHost(error);
    if (!host) {
        fprintf(stderr, "term_scene: %s\n", error.c_str());
        return 2;
    }
    hostCloseRequested = sceneClosed;
    backBuffer = createBackBuffer();
    startTime = host->now();
    host->setTitle("Terminal check");
    onKey = onSceneKey;
    bool swapped = false;
    for (;;) {
        pumpConsoleInput();
        pollKeyboard();
        if (keyReleased('Q'))
            break;
        if (keyReleased('F'))
            raise(SIGSEGV);
        if (keyReleased('P')) {
            // Every colour trades places with its opposite: black and white, and so on.
            swapped = !swapped;
            uint32_t colours[16];
            for (int i = 0; i < 16; i++)
                colours[i] = standardPalette[swapped ? 15 - i : i];
            host->setPalette(colours);
        }
        if (keyReleased('K')) {
            HostRect r;
            host->getWindowRect(&r);
            const uint32_t t0 = host->now();
            while (host->now() - t0 < 1000) {
                const bool even = host->now() % 5 == 0;
                host->moveWindow(r.left + (even ? -5 : 5), r.top + (even ? -5 : 5));
                host->idle(1);
            }
            host->moveWindow(r.left, r.top);
        }
        drawScene();
        presentScreen();
        host->idle(10);
    }
    host->shutdown();
    printf("scene done\n");
    return 0;
}
