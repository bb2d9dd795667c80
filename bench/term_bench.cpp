// What the terminal host writes in steady play: bytes per frame with and
// without diffing against the previous frame, the time to encode a frame,
// and what a palette fade costs in each colour mode.
#include "console/console_setup.h"
#include "platform/term/term_encoder.h"
#include <algorithm>
#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

constexpr int W = SCREEN_WIDTH, H = SCREEN_HEIGHT;

void put(std::vector<Cell> &f, int x, int y, uint8_t ch, uint16_t attr) {
    if (x >= 0 && x < W && y >= 0 && y < H)
        f[static_cast<size_t>(y * W + x)] = Cell{ch, attr};
}

void text(std::vector<Cell> &f, int x, int y, const std::string &s, uint16_t attr) {
    for (size_t i = 0; i < s.size(); i++)
        put(f, x + static_cast<int>(i), y, static_cast<uint8_t>(s[i]), attr);
}

// A play frame like the game's: the walled room with platforms at the left,
// the status strip at the right, a walking player, falling boxes, two
// enemies, and the bonus timer and score counting.
std::vector<Cell> playFrame(int n) {
    std::vector<Cell> f(W * H, Cell{' ', 0x00});
    for (int i = 0; i < 87; i++) {
        put(f, i, 0, 0xDB, 0x08);
        put(f, i, 86, 0xDB, 0x08);
        put(f, 0, i, 0xDB, 0x08);
        put(f, 86, i, 0xDB, 0x08);
    }
    for (int p = 0; p < 5; p++)
        for (int x = 10 + p * 7; x < 30 + p * 7; x++)
            put(f, x, 20 + p * 13, 0xDF, 0x06);
    // The status strip.
    for (int y = 0; y < H; y++)
        for (int x = 88; x < W; x++)
            put(f, x, y, 0xB0, 0x18);
    text(f, 92, 4, "BONUS", 0x1F);
    text(f, 92, 5, std::to_string(90000 - n * 10), 0x1E);
    text(f, 92, 50, "SCORE", 0x1F);
    text(f, 92, 51, std::to_string(1200 + (n / 40) * 500), 0x1E);
    text(f, 92, 60, "LIVES \x03\x03\x03", 0x1C);
    // The player walks to and fro, two cells every three frames.
    const int px = 5 + (n * 2 / 3) % 70;
    for (int y = 0; y < 5; y++)
        for (int x = 0; x < 3; x++)
            put(f, px + x, 80 + y, y == 0 ? 0x02 : 0xDB, 0x0E);
    // Boxes fall a cell a frame and start again at the top.
    for (int b = 0; b < 3; b++) {
        const int by = 2 + (n + b * 25) % 80, bx = 15 + b * 22;
        for (int y = 0; y < 4; y++)
            for (int x = 0; x < 4; x++)
                put(f, bx + x, by + y, y == 0 || y == 3 || x == 0 || x == 3 ? 0xB2 : 0xB1, 0x06);
    }
    for (int e = 0; e < 2; e++) {
        const int ex = 20 + e * 30 + (n / 2) % 12;
        for (int y = 0; y < 4; y++)
            for (int x = 0; x < 3; x++)
                put(f, ex + x, 16 + e * 26 + y, y == 0 ? 0x01 : 0xDB, e ? 0x0C : 0x0B);
    }
    return f;
}

const std::vector<std::vector<Cell>> &playFrames() {
    static const std::vector<std::vector<Cell>> frames = [] {
        std::vector<std::vector<Cell>> v;
        for (int n = 0; n < 240; n++)
            v.push_back(playFrame(n));
        return v;
    }();
    return frames;
}

TermScreen screenFor(int mode) {
    TermScreen s;
    s.colourMode = static_cast<TermColourMode>(mode);
    s.cellColumns = 2;
    s.columns = 240;
    s.rows = 92;
    s.originColumn = 4;
    s.originRow = 2;
    std::string out;
    termEncodePalette(s, standardPalette, out);
    return s;
}

const char *modeName(int mode) {
    return mode == TERM_COLOURS_PALETTE ? "palette" : mode == TERM_COLOURS_24BIT ? "24bit" : "256";
}

// One steady-play frame per iteration; state.range(1) says whether to diff.
void BM_TermPlayFrame(benchmark::State &state) {
    const int mode = static_cast<int>(state.range(0));
    const bool diff = state.range(1) != 0;
    const auto &frames = playFrames();
    TermScreen screen = screenFor(mode);
    std::string out;
    termEncodeFrame(screen, frames[0].data(), W, H, out);
    size_t n = 1;
    double bytes = 0;
    for (auto _ : state) {
        out.clear();
        termEncodeFrame(screen, frames[n % frames.size()].data(), W, H, out, diff);
        bytes += static_cast<double>(out.size());
        benchmark::DoNotOptimize(out.data());
        n++;
    }
    state.counters["bytes_per_frame"] = benchmark::Counter(bytes / state.iterations());
    state.counters["bytes_per_second_at_50fps"] =
        benchmark::Counter(bytes / state.iterations() * 50);
    state.SetLabel(std::string(modeName(mode)) + (diff ? ", changed cells" : ", every cell"));
}
BENCHMARK(BM_TermPlayFrame)
    ->ArgsProduct({{TERM_COLOURS_PALETTE, TERM_COLOURS_24BIT, TERM_COLOURS_256}, {1, 0}});

// One step of a fade to black over a still picture: the palette changes, the
// frame does not.
void BM_TermFadeStep(benchmark::State &state) {
    const int mode = static_cast<int>(state.range(0));
    const std::vector<Cell> &frame = playFrames()[0];
    TermScreen screen = screenFor(mode);
    std::string out;
    termEncodeFrame(screen, frame.data(), W, H, out);
    int step = 0;
    double bytes = 0;
    for (auto _ : state) {
        uint32_t palette[16];
        const uint32_t level = static_cast<uint32_t>(16 - step % 16);
        for (int i = 0; i < 16; i++) {
            const uint32_t c = standardPalette[i];
            palette[i] = (((c & 0xFF) * level / 16) & 0xFF) |
                         ((((c >> 8) & 0xFF) * level / 16) << 8) |
                         ((((c >> 16) & 0xFF) * level / 16) << 16);
        }
        out.clear();
        termEncodePalette(screen, palette, out);
        termEncodeFrame(screen, frame.data(), W, H, out);
        bytes += static_cast<double>(out.size());
        step++;
    }
    state.counters["bytes_per_step"] = benchmark::Counter(bytes / state.iterations());
    state.SetLabel(modeName(mode));
}
BENCHMARK(BM_TermFadeStep)
    ->Arg(TERM_COLOURS_PALETTE)
    ->Arg(TERM_COLOURS_24BIT)
    ->Arg(TERM_COLOURS_256);

// One step of the shake when the room turns: the picture jumps a cell (two
// columns) and a row either way of its place, as the game's window does, and
// the frame is presented there again. The terminal slides what it shows.
void BM_TermShakeStep(benchmark::State &state) {
    const std::vector<Cell> &frame = playFrames()[0];
    TermScreen screen = screenFor(TERM_COLOURS_PALETTE);
    std::string out;
    termEncodeFrame(screen, frame.data(), W, H, out);
    const int baseColumn = screen.originColumn, baseRow = screen.originRow;
    int step = 0;
    double bytes = 0;
    for (auto _ : state) {
        const int side = step % 2 ? -1 : 1;
        out.clear();
        if (!termEncodeShift(screen, baseColumn + 2 * side, baseRow + side, out)) {
            state.SkipWithError("the shake cannot slide the picture");
            break;
        }
        termEncodeFrame(screen, frame.data(), W, H, out);
        bytes += static_cast<double>(out.size());
        step++;
    }
    state.counters["bytes_per_step"] = benchmark::Counter(bytes / std::max<int64_t>(1, step));
}
BENCHMARK(BM_TermShakeStep);

} // namespace
