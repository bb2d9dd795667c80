// The window host's peer: the frames of a recorded session presented by
// libtcod's SDL2 renderer in a window at scale 1 (the game's own 8 x 8 font
// as the tiles, 116 x 88 of them, 928 x 704 pixels), one present a frame, as
// fast as it goes, the window's events read each frame as the window host
// reads them.
//
//   libtcod_peer FRAME_FOLDER REPORT_FILE
//
// REPORT_FILE gets "frames N processor_ms T": the processor time of every
// thread while presenting, the frames read and the window opened beforehand.
#include "console/console_setup.h"
#include "peer_frames.h"
#include "platform/raster/cp437.h"
#include "platform/raster/rasteriser.h"
#include <SDL.h>
#include <cstdio>
#include <libtcod.h>

static TCOD_ColorRGBA colourOf(uint32_t colorref) {
    const uint32_t rgb = colorrefToRgb(colorref);
    return TCOD_ColorRGBA{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                          static_cast<uint8_t>(rgb), 255};
}

// The game's font as libtcod tiles: white where a glyph has a pixel,
// transparent elsewhere, so libtcod colours them with the cell's colours.
static TCOD_Tileset *gameTiles() {
    TCOD_Tileset *tiles = TCOD_tileset_new(CELL_PIXELS, CELL_PIXELS);
    if (!tiles)
        return nullptr;
    for (int code = 0; code < 256; code++) {
        TCOD_ColorRGBA pixels[CELL_PIXELS * CELL_PIXELS];
        for (int y = 0; y < CELL_PIXELS; y++)
            for (int x = 0; x < CELL_PIXELS; x++) {
                const bool set = font8x8[code][y] & (0x80 >> x);
                pixels[y * CELL_PIXELS + x] = TCOD_ColorRGBA{255, 255, 255, uint8_t(set ? 255 : 0)};
            }
        if (TCOD_tileset_set_tile_(tiles, static_cast<int>(cp437ToUnicode[code]), pixels) !=
            TCOD_E_OK) {
            TCOD_tileset_delete(tiles);
            return nullptr;
        }
    }
    return tiles;
}

int main(int argc, char **argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: libtcod_peer FRAME_FOLDER REPORT_FILE\n");
        return 2;
    }
    const std::vector<PeerFrame> frames = loadPeerFrames(argv[1]);
    if (frames.empty())
        return 1;
    TCOD_ContextParams params{};
    params.tcod_version = TCOD_COMPILEDVERSION;
    params.columns = frames[0].width;
    params.rows = frames[0].height;
    params.renderer_type = TCOD_RENDERER_SDL2;
    params.tileset = gameTiles();
    if (!params.tileset) {
        fprintf(stderr, "libtcod_peer: cannot make the tiles: %s\n", TCOD_get_error());
        return 1;
    }
    params.window_title = "libtcod peer";
    TCOD_Context *context = nullptr;
    if (TCOD_context_new(&params, &context) != TCOD_E_OK) {
        fprintf(stderr, "libtcod_peer: no window: %s\n", TCOD_get_error());
        return 1;
    }
    TCOD_Console *console = TCOD_console_new(frames[0].width, frames[0].height);
    TCOD_ColorRGBA palette[16];
    for (int i = 0; i < 16; i++)
        palette[i] = colourOf(standardPalette[i]);

    const double start = processorMs();
    for (const PeerFrame &frame : frames) {
        if (frame.width != console->w || frame.height != console->h)
            continue;
        for (int i = 0; i < frame.width * frame.height; i++) {
            const Cell cell = frame.cells[i];
            console->tiles[i] =
                TCOD_ConsoleTile{static_cast<int>(cp437ToUnicode[cell.ch & 0xFF]),
                                 palette[cell.attr & 15], palette[(cell.attr >> 4) & 15]};
        }
        TCOD_context_present(context, console, nullptr);
        SDL_PumpEvents();
    }
    const double spent = processorMs() - start;
    TCOD_console_delete(console);
    TCOD_context_delete(context);

    FILE *report = fopen(argv[2], "w");
    if (!report) {
        fprintf(stderr, "libtcod_peer: cannot write %s\n", argv[2]);
        return 1;
    }
    fprintf(report, "frames %zu processor_ms %.1f\n", frames.size(), spent);
    fclose(report);
    return 0;
}
