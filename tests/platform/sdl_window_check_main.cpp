// A small program that opens the window host and does what a test script
// tells it on standard input, one command a line, one answer a line. The
// script takes real screenshots of the window, sends keys and mouse with
// xdotool and compares what this program reports.
//
//   frame N             present test frame number N
//   palette std|alt     set one of two palettes (no new frame)
//   picture FILE        write the rasteriser's picture of the frame, in the
//                       window's palette, to FILE (binary PPM)
//   pin                 move the picture instead of the window from now on,
//                       as on a display that does not let programs move windows
//   keys VK...          keyDown of each virtual key (hex)
//   poll                pollKeyboard
//   released VK...      keyReleased of each virtual key (hex)
//   events [N]          wait (up to 3 s) for N console events, then pump them
//                       and print what the handlers got
//   rect                the window rectangle the host reports
//   move X Y            moveWindow
//   shake               shake the window for a second and put it back
//   scale               the picture's scale
//   setscale N          size the window to scale N
//   idle MS             idle
#include "platform/hosts.h"
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifndef WOBBLE_HAVE_SDL
int main() {
    printf("no window host in this build\n");
    return 77;
}
#else
#include "console/console_setup.h"
#include "input/keyboard.h"
#include "platform/raster/rasteriser.h"
#include "platform/sdl/sdl_host.h"

constexpr int W = 116;
constexpr int H = 88;

static std::vector<Cell> frame(W *H);
static std::string events;

// Every character in many colour pairs; N shifts the pattern.
static void makeFrame(int n) {
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            const int i = y * W + x;
            const uint16_t fg = static_cast<uint16_t>((x / 3 + y + n) & 15);
            const uint16_t bg = static_cast<uint16_t>((x / 7 + y / 2 + 5 * n) & 15);
            frame[i] = Cell{static_cast<uint16_t>((i + 37 * n) & 255),
                            static_cast<uint16_t>(fg | bg << 4)};
        }
}

static void makePalette(const char *which, uint32_t out[16]) {
    for (int i = 0; i < 16; i++) {
        if (strcmp(which, "alt") == 0) {
            const uint32_t r = (i * 16 + 3) & 255, g = 255 - i * 15, b = (i * 53 + 20) & 255;
            out[i] = r | g << 8 | b << 16;
        } else {
            out[i] = standardPalette[i];
        }
    }
}

// The picture as the window host draws it now, one pixel a dot, as a binary
// PPM: the script scales it and compares it with a screenshot.
static std::string savePicture(const char *path) {
    uint32_t palette[16];
    host->getPalette(palette);
    std::vector<uint32_t> picture(size_t(W) * 8 * H * 8);
    rasteriseCells(frame.data(), W, H, palette, picture.data(), W * 8);
    FILE *f = fopen(path, "wb");
    if (!f)
        return std::string("cannot write ") + path;
    fprintf(f, "P6\n%d %d\n255\n", W * 8, H * 8);
    for (const uint32_t p : picture) {
        const unsigned char rgb[3] = {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)};
        fwrite(rgb, 1, 3, f);
    }
    fclose(f);
    return "ok";
}

static void recordKey(KeyEventRecord r) {
    char text[80];
    snprintf(text, sizeof text, "key %s %02X %d %d;", r.keyDown ? "down" : "up", r.virtualKeyCode,
             static_cast<unsigned char>(r.asciiChar), r.repeatCount);
    events += text;
}

static void recordLeft(MouseEventRecord r) {
    events += "left " + std::to_string(r.x) + " " + std::to_string(r.y) + ";";
}

static void recordMove(MouseEventRecord r) {
    events += "move " + std::to_string(r.x) + " " + std::to_string(r.y) + ";";
}

static void closeRequested() {
    printf("closing\n");
    fflush(stdout);
    host->shutdown();
    exit(0);
}

static std::vector<int> hexList(const char *text) {
    std::vector<int> out;
    char *end;
    for (;;) {
        const long v = strtol(text, &end, 16);
        if (end == text)
            break;
        out.push_back(static_cast<int>(v));
        text = end;
    }
    return out;
}

int main() {
    // A script starts its background jobs with Ctrl+C ignored; a program run
    // from a terminal has it as usual, which is what is tested here.
    signal(SIGINT, SIG_DFL);
    std::string error;
    host = createSdlHost(error);
    if (!host) {
        printf("no window host: %s\n", error.c_str());
        return 77;
    }
    hostCloseRequested = closeRequested;
    host->setTitle("Wobblewick check");
    onKey = recordKey;
    onLeftButton = recordLeft;
    onMouseMove = recordMove;
    makeFrame(0);
    printf("ready\n");
    fflush(stdout);

    char line[512];
    while (fgets(line, sizeof line, stdin)) {
        line[strcspn(line, "\r\n")] = 0;
        char *arg = strchr(line, ' ');
        if (arg)
            *arg++ = 0;
        else
            arg = line + strlen(line);
        const std::string cmd = line;
        std::string reply = "ok";
        if (cmd == "frame") {
            makeFrame(atoi(arg));
            host->present(frame.data(), W, H);
        } else if (cmd == "palette") {
            uint32_t p[16];
            makePalette(arg, p);
            host->setPalette(p);
        } else if (cmd == "picture") {
            reply = savePicture(arg);
        } else if (cmd == "keys" || cmd == "released") {
            reply.clear();
            for (int vk : hexList(arg))
                reply += std::to_string(cmd == "keys" ? host->keyDown(vk) : keyReleased(vk)) + " ";
        } else if (cmd == "poll") {
            pollKeyboard();
        } else if (cmd == "events") {
            // xdotool does not wait for the display to deliver what it sends.
            const int wanted = atoi(arg);
            const uint32_t start = host->now();
            while (host->pendingEvents() < wanted && host->now() - start < 3000)
                host->idle(10);
            host->idle(100); // and nothing more follows
            events.clear();
            pumpConsoleInput();
            reply = events.empty() ? "none" : events;
        } else if (cmd == "rect") {
            HostRect r;
            host->getWindowRect(&r);
            reply = std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                    std::to_string(r.right) + " " + std::to_string(r.bottom);
        } else if (cmd == "move") {
            int x = 0, y = 0;
            sscanf(arg, "%d %d", &x, &y);
            host->moveWindow(x, y);
        } else if (cmd == "shake") {
            // The world turn's shake: a second of jumps around the window's
            // place without a pause, then back.
            HostRect r;
            host->getWindowRect(&r);
            const uint32_t t0 = host->now();
            long moves = 0;
            while (host->now() - t0 < 1000) {
                if (host->now() % 5 != 0)
                    host->moveWindow(r.left + 5, r.top + 5);
                else
                    host->moveWindow(r.left - 5, r.top - 5);
                moves++;
            }
            host->moveWindow(r.left, r.top);
            reply = "shaken " + std::to_string(moves);
        } else if (cmd == "pin") {
            sdlPinWindow();
        } else if (cmd == "scale") {
            reply = std::to_string(sdlPictureScale());
        } else if (cmd == "setscale") {
            sdlSetWindowScale(atoi(arg));
        } else if (cmd == "idle") {
            host->idle(static_cast<uint32_t>(atoi(arg)));
        } else {
            reply = "unknown command " + cmd;
        }
        printf("%s\n", reply.c_str());
        fflush(stdout);
    }
    host->shutdown();
    return 0;
}
#endif
