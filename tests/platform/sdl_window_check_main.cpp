// A small program that opens the window host and does what a test script
// tells it on standard input, one command a line, one answer a line. The
// script takes real screenshots of the window, sends keys and mouse with
// xdotool and compares what this program reports.
//
//   frame N             present test frame number N
//   palette std|alt     set one of two palettes (no new frame)
//   compare FILE X Y W H [DX DY]  compare the window's area (X, Y, W, H in
//                       FILE, a root screenshot in xwd form) with the
//                       rasteriser's picture, moved by DX, DY pixels
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

static uint32_t be32(const unsigned char *p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Reads a screenshot in xwd form as 0x00RRGGBB pixels: the forms Xvfb's
// 24-bit screen gives, red in the high byte, four bytes a pixel, or three
// when the window has a direct-colour visual (as SDL's windows do).
static bool readXwd(const char *path, std::vector<uint32_t> &pixels, int &width, int &height,
                    std::string &error) {
    FILE *f = fopen(path, "rb");
    if (!f) {
        error = "cannot open screenshot";
        return false;
    }
    std::vector<unsigned char> bytes;
    unsigned char chunk[65536];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    fclose(f);
    const unsigned char *h = bytes.data();
    if (bytes.size() < 100) {
        error = "screenshot too short";
        return false;
    }
    const size_t start = size_t(be32(h)) + size_t(be32(h + 76)) * 12;
    const uint32_t bytesPerLine = be32(h + 48);
    width = static_cast<int>(be32(h + 16));
    height = static_cast<int>(be32(h + 20));
    const uint32_t step = be32(h + 44) / 8;
    if (be32(h + 8) != 2 || (step != 3 && step != 4) || be32(h + 28) != 0 ||
        be32(h + 56) != 0xFF0000 || width <= 0 || height <= 0 ||
        bytesPerLine < uint32_t(width) * step ||
        start + size_t(bytesPerLine) * height > bytes.size()) {
        error = "screenshot in a form this check does not read";
        return false;
    }
    pixels.resize(size_t(width) * height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const unsigned char *p = h + start + size_t(y) * bytesPerLine + size_t(x) * step;
            pixels[size_t(y) * width + x] = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
        }
    return true;
}

// The window's area in the screenshot must be the picture, scaled by the
// largest whole number that fits, centred on black.
static std::string compare(const char *path, int wx, int wy, int ww, int wh, int dx, int dy) {
    std::vector<uint32_t> shot;
    int sw, sh;
    std::string error;
    if (!readXwd(path, shot, sw, sh, error))
        return error;
    uint32_t palette[16];
    host->getPalette(palette);
    std::vector<uint32_t> picture(size_t(W) * 8 * H * 8);
    rasteriseCells(frame.data(), W, H, palette, picture.data(), W * 8);
    int scale = std::min(ww / (W * 8), wh / (H * 8));
    if (scale < 1)
        scale = 1;
    const int ox = (ww - W * 8 * scale) / 2 + dx, oy = (wh - H * 8 * scale) / 2 + dy;
    long bad = 0;
    std::string first;
    for (int y = 0; y < wh; y++)
        for (int x = 0; x < ww; x++) {
            const int sx = wx + x, sy = wy + y;
            if (sx < 0 || sy < 0 || sx >= sw || sy >= sh)
                continue;
            const int px = x - ox, py = y - oy;
            uint32_t want = 0;
            if (px >= 0 && py >= 0 && px < W * 8 * scale && py < H * 8 * scale)
                want = picture[size_t(py / scale) * W * 8 + px / scale];
            const uint32_t got = shot[size_t(sy) * sw + sx];
            if (got != want && bad++ == 0) {
                char text[120];
                snprintf(text, sizeof text, " first at %d,%d: got %06X want %06X", x, y, got, want);
                first = text;
            }
        }
    if (bad == 0)
        return "match scale " + std::to_string(scale);
    return "mismatch " + std::to_string(bad) + " pixels" + first;
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
        } else if (cmd == "compare") {
            char path[400];
            int x, y, w, h, dx = 0, dy = 0;
            if (sscanf(arg, "%399s %d %d %d %d %d %d", path, &x, &y, &w, &h, &dx, &dy) >= 5) {
                reply = compare(path, x, y, w, h, dx, dy);
            } else
                reply = "bad compare";
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
