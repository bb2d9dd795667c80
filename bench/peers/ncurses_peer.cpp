// The terminal host's peer: the frames of a recorded session painted with
// ncurses into the terminal it runs in, as the terminal host paints them (two
// columns a cell, the same characters, the 16 console colours as the
// terminal's own 16), one refresh a frame, as fast as the terminal takes them.
// ncurses writes only what changed, as the terminal host does.
//
//   ncurses_peer FRAME_FOLDER REPORT_FILE
//
// REPORT_FILE gets "frames N processor_ms T": the processor time of painting
// alone, the frames read beforehand.
#include "peer_frames.h"
#include "platform/term/term_encoder.h"
#include "platform/term/term_glyphs.h"
#include <clocale>
#include <cstdio>
#include <ncurses.h>

int main(int argc, char **argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: ncurses_peer FRAME_FOLDER REPORT_FILE\n");
        return 2;
    }
    const std::vector<PeerFrame> frames = loadPeerFrames(argv[1]);
    if (frames.empty())
        return 1;
    setlocale(LC_ALL, "C.UTF-8");
    initscr();
    start_color();
    if (!has_colors() || COLORS < 16 || COLOR_PAIRS < 257) {
        endwin();
        fprintf(stderr, "ncurses_peer: the terminal needs 16 colours and 257 colour pairs\n");
        return 1;
    }
    for (int fg = 0; fg < 16; fg++)
        for (int bg = 0; bg < 16; bg++)
            init_pair(static_cast<short>(1 + fg * 16 + bg), static_cast<short>(termAnsiIndex(fg)),
                      static_cast<short>(termAnsiIndex(bg)));
    curs_set(0);
    noecho();

    const double start = processorMs();
    for (const PeerFrame &frame : frames) {
        const int top = (LINES - frame.height) / 2, left = (COLS - 2 * frame.width) / 2;
        for (int y = 0; y < frame.height; y++) {
            move(top + y, left);
            for (int x = 0; x < frame.width; x++) {
                const Cell cell = frame.cells[y * frame.width + x];
                const uint8_t code = cell.ch & 0xFF;
                const int fg = cell.attr & 15;
                const int bg = (cell.attr >> 4) & 15;
                // A full block is a blank in its own colour, as the terminal
                // host draws it.
                const bool solid = code == 0xDB;
                attrset(COLOR_PAIR(1 + fg * 16 + (solid ? fg : bg)));
                addstr(solid || termGlyphIsBlank(code) ? "  " : termGlyph(code, 2).c_str());
            }
        }
        refresh();
    }
    const double spent = processorMs() - start;
    endwin();

    FILE *report = fopen(argv[2], "w");
    if (!report) {
        fprintf(stderr, "ncurses_peer: cannot write %s\n", argv[2]);
        return 1;
    }
    fprintf(report, "frames %zu processor_ms %.1f\n", frames.size(), spent);
    fclose(report);
    return 0;
}
