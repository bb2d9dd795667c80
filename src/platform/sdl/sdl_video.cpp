#include "platform/raster/rasteriser.h"
#include "platform/sdl/sdl_host.h"
#include <algorithm>
#include <cstdio>
#include <cstring>

static const uint32_t consoleColours[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

constexpr int GRID_WIDTH = 116;
constexpr int GRID_HEIGHT = 88;

// The picture has the size of the latest frame; a frame of another size
// gets a texture of its own size.
static void markStale(int top, int bottom) {
    sdl.staleTop = std::min(sdl.staleTop, top);
    sdl.staleBottom = std::max(sdl.staleBottom, bottom);
}

static bool textureStale() {
    return sdl.staleTop <= sdl.staleBottom;
}

static bool makeTexture(int width, int height) {
    if (sdl.texture)
        SDL_DestroyTexture(sdl.texture);
    sdl.texture =
        SDL_CreateTexture(sdl.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                          width * CELL_PIXELS, height * CELL_PIXELS);
    if (!sdl.texture)
        return false;
    SDL_SetTextureBlendMode(sdl.texture, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(sdl.texture, SDL_ScaleModeNearest);
    SDL_RenderSetLogicalSize(sdl.renderer, width * CELL_PIXELS, height * CELL_PIXELS);
    SDL_RenderSetIntegerScale(sdl.renderer, SDL_TRUE);
    sdl.width = width;
    sdl.height = height;
    sdl.cells.assign(static_cast<size_t>(width) * height, Cell{0, 0});
    markStale(0, height - 1);
    sdl.redrawWanted = true;
    return true;
}

static void frameSize(int scale, int &w, int &h) {
    w = GRID_WIDTH * CELL_PIXELS * scale;
    h = GRID_HEIGHT * CELL_PIXELS * scale;
}

// The largest whole-number scale whose window, frame included, fits the
// usable part of the desktop; at least 1.
static int fittingScale(int borderW, int borderH) {
    SDL_Rect usable;
    int display = sdl.window ? SDL_GetWindowDisplayIndex(sdl.window) : 0;
    if (display < 0 || SDL_GetDisplayUsableBounds(display, &usable) != 0)
        return 1;
    int scale = 1;
    for (int s = 2; s < 64; s++) {
        int w, h;
        frameSize(s, w, h);
        if (w + borderW > usable.w || h + borderH > usable.h)
            break;
        scale = s;
    }
    return scale;
}

bool sdlOpenWindow(std::string &error) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    memcpy(sdl.palette, consoleColours, sizeof sdl.palette);
    int w, h;
    frameSize(fittingScale(0, 0), w, h);
    sdl.window = SDL_CreateWindow("Wobblewick!", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w,
                                  h, SDL_WINDOW_RESIZABLE);
    if (!sdl.window) {
        error = std::string("the window host cannot open a window: ") + SDL_GetError();
        return false;
    }
    int minW, minH;
    frameSize(1, minW, minH);
    // A window smaller than the picture would crop it.
    SDL_SetWindowMinimumSize(sdl.window, minW, minH);
    sdl.renderer = SDL_CreateRenderer(sdl.window, -1, 0);
    if (!sdl.renderer)
        sdl.renderer = SDL_CreateRenderer(sdl.window, -1, SDL_RENDERER_SOFTWARE);
    if (!sdl.renderer || !makeTexture(GRID_WIDTH, GRID_HEIGHT)) {
        error = std::string("the window host cannot draw in its window: ") + SDL_GetError();
        sdlCloseWindow();
        return false;
    }

    // With the window frame known, make sure the whole of it fits too.
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(sdl.window, &top, &left, &bottom, &right) == 0) {
        const int scale = fittingScale(left + right, top + bottom);
        int fw, fh;
        frameSize(scale, fw, fh);
        if (fw < w) {
            SDL_SetWindowSize(sdl.window, fw, fh);
            SDL_SetWindowPosition(sdl.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        }
    }

    const char *driver = SDL_GetCurrentVideoDriver();
    if (driver && strcmp(driver, "wayland") == 0) {
        fprintf(stderr, "wobblewick: this display does not let a program move its window; the "
                        "shake moves the picture inside the window, and dragging the window "
                        "pushes nothing\n");
        sdlPinWindow();
    }
    sdlRedraw();
    return true;
}

void sdlPinWindow() {
    int x, y, w, h;
    SDL_GetWindowPosition(sdl.window, &x, &y);
    SDL_GetWindowSize(sdl.window, &w, &h);
    sdl.windowMovable = false;
    sdl.fixedRect = HostRect{x, y, x + w, y + h};
}

void sdlKeepWholePicture() {
    if (!sdl.window || (SDL_GetWindowFlags(sdl.window) & SDL_WINDOW_FULLSCREEN))
        return;
    int w, h;
    SDL_GetWindowSize(sdl.window, &w, &h);
    const int minW = sdl.width * CELL_PIXELS, minH = sdl.height * CELL_PIXELS;
    // Window managers keep a user's resize above the minimum, but another
    // program may still shrink the window; a smaller one would crop the picture.
    if (w < minW || h < minH)
        SDL_SetWindowSize(sdl.window, std::max(w, minW), std::max(h, minH));
}

void sdlCloseWindow() {
    if (sdl.texture)
        SDL_DestroyTexture(sdl.texture);
    if (sdl.renderer)
        SDL_DestroyRenderer(sdl.renderer);
    if (sdl.window)
        SDL_DestroyWindow(sdl.window);
    sdl.texture = nullptr;
    sdl.renderer = nullptr;
    sdl.window = nullptr;
}

void sdlRedraw() {
    if (!sdl.renderer || !sdl.texture)
        return;
    if (textureStale()) {
        const int top = std::max(sdl.staleTop, 0),
                  rows = std::min(sdl.staleBottom, sdl.height - 1) - top + 1;
        const SDL_Rect band = {0, top * CELL_PIXELS, sdl.width * CELL_PIXELS, rows * CELL_PIXELS};
        void *pixels = nullptr;
        int pitch = 0;
        if (rows <= 0 || SDL_LockTexture(sdl.texture, &band, &pixels, &pitch) != 0)
            return;
        rasteriseCells(sdl.cells.data() + static_cast<size_t>(top) * sdl.width, sdl.width, rows,
                       sdl.palette, static_cast<uint32_t *>(pixels), pitch / 4);
        SDL_UnlockTexture(sdl.texture);
        sdl.staleTop = sdl.height;
        sdl.staleBottom = -1;
        sdl.redrawWanted = true;
        sdl.texturesUploaded++;
    }
    if (!sdl.redrawWanted)
        return;
    SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
    SDL_RenderClear(sdl.renderer);
    // The picture offset is in window pixels; the renderer counts in picture pixels.
    float scaleX = 1, scaleY = 1;
    SDL_RenderGetScale(sdl.renderer, &scaleX, &scaleY);
    const SDL_FRect where = {
        sdl.pictureOffsetX / std::max(scaleX, 1.0f), sdl.pictureOffsetY / std::max(scaleY, 1.0f),
        static_cast<float>(sdl.width * CELL_PIXELS), static_cast<float>(sdl.height * CELL_PIXELS)};
    SDL_RenderCopyF(sdl.renderer, sdl.texture, nullptr, &where);
    SDL_RenderPresent(sdl.renderer);
    sdl.redrawWanted = false;
    sdl.framesDrawn++;
}

void sdlPresent(const Cell *cells, int width, int height) {
    if (!sdl.renderer || width <= 0 || height <= 0)
        return;
    if (width != sdl.width || height != sdl.height) {
        if (!makeTexture(width, height))
            return;
    }
    const size_t rowBytes = sizeof(Cell) * static_cast<size_t>(width);
    for (int y = 0; y < height; y++) {
        Cell *row = sdl.cells.data() + static_cast<size_t>(y) * width;
        if (memcmp(row, cells + static_cast<size_t>(y) * width, rowBytes) != 0) {
            memcpy(row, cells + static_cast<size_t>(y) * width, rowBytes);
            markStale(y, y);
        }
    }
    sdlPumpEventsIfDue();
    sdlRedraw();
}

// A console palette change recolours everything on screen at once, with or
// without a new frame.
void sdlSetPalette(const uint32_t palette[16]) {
    if (memcmp(sdl.palette, palette, sizeof sdl.palette) == 0)
        return;
    memcpy(sdl.palette, palette, sizeof sdl.palette);
    markStale(0, sdl.height - 1);
    sdlRedraw();
}

void sdlGetPalette(uint32_t palette[16]) {
    memcpy(palette, sdl.palette, sizeof sdl.palette);
}

void sdlSetTitle(const char *title) {
    if (sdl.window)
        SDL_SetWindowTitle(sdl.window, title ? title : "");
}

static void windowBorders(int &top, int &left, int &bottom, int &right) {
    top = left = bottom = right = 0;
    if (SDL_GetWindowBordersSize(sdl.window, &top, &left, &bottom, &right) != 0)
        top = left = bottom = right = 0;
}

int sdlGetWindowRect(HostRect *rect) {
    if (!sdl.window) {
        *rect = HostRect{0, 0, 0, 0};
        return 0;
    }
    if (!sdl.windowMovable) {
        // Nothing the user does to the window moves this one, so a drag pushes nothing.
        *rect = sdl.fixedRect;
        return 1;
    }
    sdlPumpEventsIfDue(); // a drag is seen as soon as it happens
    int x, y, w, h, top, left, bottom, right;
    SDL_GetWindowPosition(sdl.window, &x, &y);
    SDL_GetWindowSize(sdl.window, &w, &h);
    windowBorders(top, left, bottom, right);
    *rect = HostRect{x - left, y - top, x + w + right, y + h + bottom};
    return 1;
}

void sdlMoveWindow(int x, int y) {
    if (!sdl.window)
        return;
    if (!sdl.windowMovable) {
        const int dx = x - sdl.fixedRect.left;
        const int dy = y - sdl.fixedRect.top;
        if (dx != sdl.pictureOffsetX || dy != sdl.pictureOffsetY) {
            sdl.pictureOffsetX = dx;
            sdl.pictureOffsetY = dy;
            sdl.redrawWanted = true;
            sdlRedraw();
        }
        return;
    }
    if (SDL_GetWindowFlags(sdl.window) & SDL_WINDOW_FULLSCREEN)
        return;
    int top, left, bottom, right, cx, cy;
    windowBorders(top, left, bottom, right);
    SDL_GetWindowPosition(sdl.window, &cx, &cy);
    // Placing the window where it already stands costs a round trip to the
    // display for nothing; the shake asks for the same place many times.
    if (cx != x + left || cy != y + top)
        SDL_SetWindowPosition(sdl.window, x + left, y + top);
}

void sdlToggleFullScreen() {
    if (!sdl.window)
        return;
    const bool full = SDL_GetWindowFlags(sdl.window) & SDL_WINDOW_FULLSCREEN;
    SDL_SetWindowFullscreen(sdl.window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    sdl.redrawWanted = true;
}

int sdlPictureScale() {
    float scaleX = 1, scaleY = 1;
    if (sdl.renderer)
        SDL_RenderGetScale(sdl.renderer, &scaleX, &scaleY);
    return static_cast<int>(scaleX);
}

void sdlSetWindowScale(int scale) {
    if (!sdl.window)
        return;
    if (SDL_GetWindowFlags(sdl.window) & SDL_WINDOW_FULLSCREEN)
        SDL_SetWindowFullscreen(sdl.window, 0);
    int w, h;
    frameSize(std::max(scale, 1), w, h);
    SDL_SetWindowSize(sdl.window, w, h);
    sdl.redrawWanted = true;
    sdlPumpEvents();
    sdlRedraw();
}
