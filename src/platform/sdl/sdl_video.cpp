#include "platform/raster/rasteriser.h"
#include "platform/sdl/sdl_host.h"
#include <algorithm>
#include <cstdio>
#include <cstring>

// The picture has the size of the latest frame; a frame of another size
// gets a texture of its own size.
static void markStale(int top, int bottom) {
    sdl.staleTop = std::min(sdl.staleTop, top);
    sdl.staleBottom = std::max(sdl.staleBottom, bottom);
}

static bool textureStale() {
    return sdl.staleTop <= sdl.staleBottom;
}

static void resizePicture(int width, int height) {
    sdl.width = width;
    sdl.height = height;
    sdl.cells.assign(static_cast<size_t>(width) * height, Cell{0, 0});
    sdl.picture.assign(static_cast<size_t>(width) * CELL_PIXELS * height * CELL_PIXELS, 0);
    markStale(0, height - 1);
    sdl.layoutWanted = true;
}

static void frameSize(int scale, int &w, int &h) {
    w = SCREEN_WIDTH * CELL_PIXELS * scale;
    h = SCREEN_HEIGHT * CELL_PIXELS * scale;
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
    memcpy(sdl.palette, standardPalette, sizeof sdl.palette);
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
    // The picture is drawn into the window's own pixels, and only the rows
    // that changed are sent to the display: a frame of play is a few rows,
    // and drawing the whole window through a 3D renderer for them costs more
    // than the game, above all where no graphics card does it. On X11 the
    // window's pixels are shared with the display; SDL would otherwise pass
    // them through a 3D renderer there too.
    const char *driver = SDL_GetCurrentVideoDriver();
    if (driver && strcmp(driver, "x11") == 0)
        SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    if (!SDL_GetWindowSurface(sdl.window)) {
        error = std::string("the window host cannot draw in its window: ") + SDL_GetError();
        sdlCloseWindow();
        return false;
    }
    resizePicture(SCREEN_WIDTH, SCREEN_HEIGHT);

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
    if (sdl.window)
        SDL_DestroyWindow(sdl.window);
    sdl.window = nullptr;
    sdl.surface = nullptr;
}

// The largest whole-number scale at which the picture fits the window, at
// least 1, the picture centred (and moved by the shake where the window
// cannot move), the rest black.
static bool layOutWindow() {
    sdl.surface = SDL_GetWindowSurface(sdl.window);
    if (!sdl.surface)
        return false;
    const int pw = sdl.width * CELL_PIXELS, ph = sdl.height * CELL_PIXELS;
    sdl.scale = std::max(1, std::min(sdl.surface->w / pw, sdl.surface->h / ph));
    sdl.pictureX = (sdl.surface->w - pw * sdl.scale) / 2 + sdl.pictureOffsetX;
    sdl.pictureY = (sdl.surface->h - ph * sdl.scale) / 2 + sdl.pictureOffsetY;
    SDL_FillRect(sdl.surface, nullptr, SDL_MapRGB(sdl.surface->format, 0, 0, 0));
    sdl.layoutWanted = false;
    return true;
}

// Copies picture rows [top, bottom) into the window, enlarged by the scale
// and cut to the window; returns the window's rectangle they cover.
static SDL_Rect copyRows(int top, int bottom) {
    SDL_Surface *out = sdl.surface;
    const int s = sdl.scale, pw = sdl.width * CELL_PIXELS;
    const int x0 = std::max(0, -sdl.pictureX), x1 = std::min(pw * s, out->w - sdl.pictureX);
    const int y0 = std::max(top * s, -sdl.pictureY),
              y1 = std::min(bottom * s, out->h - sdl.pictureY);
    if (x0 >= x1 || y0 >= y1)
        return SDL_Rect{0, 0, 0, 0};
    const bool direct = out->format->format == SDL_PIXELFORMAT_RGB888 ||
                        out->format->format == SDL_PIXELFORMAT_ARGB8888;
    std::vector<uint32_t> row(static_cast<size_t>(pw) * s);
    if (SDL_MUSTLOCK(out))
        SDL_LockSurface(out);
    for (int y = y0; y < y1; y++) {
        const uint32_t *from = sdl.picture.data() + static_cast<size_t>(y / s) * pw;
        if (s == 1)
            memcpy(row.data() + x0, from + x0, sizeof(uint32_t) * (x1 - x0));
        else
            for (int x = x0; x < x1; x++)
                row[x] = from[x / s];
        uint8_t *to = static_cast<uint8_t *>(out->pixels) +
                      static_cast<size_t>(sdl.pictureY + y) * out->pitch +
                      static_cast<size_t>(sdl.pictureX + x0) * out->format->BytesPerPixel;
        if (direct)
            memcpy(to, row.data() + x0, sizeof(uint32_t) * (x1 - x0));
        else
            SDL_ConvertPixels(x1 - x0, 1, SDL_PIXELFORMAT_RGB888, row.data() + x0,
                              static_cast<int>(sizeof(uint32_t)) * (x1 - x0), out->format->format,
                              to, out->pitch);
    }
    if (SDL_MUSTLOCK(out))
        SDL_UnlockSurface(out);
    return SDL_Rect{sdl.pictureX + x0, sdl.pictureY + y0, x1 - x0, y1 - y0};
}

void sdlRedraw() {
    if (!sdl.window || sdl.picture.empty())
        return;
    if (sdl.layoutWanted || !sdl.surface) {
        if (!layOutWindow())
            return;
        markStale(0, sdl.height - 1);
        sdl.redrawWanted = true;
    }
    SDL_Rect changed = {0, 0, 0, 0};
    if (textureStale()) {
        const int top = std::max(sdl.staleTop, 0),
                  rows = std::min(sdl.staleBottom, sdl.height - 1) - top + 1;
        const int pw = sdl.width * CELL_PIXELS;
        rasteriseCells(sdl.cells.data() + static_cast<size_t>(top) * sdl.width, sdl.width, rows,
                       sdl.palette,
                       sdl.picture.data() + static_cast<size_t>(top) * CELL_PIXELS * pw, pw);
        changed = copyRows(top * CELL_PIXELS, (top + rows) * CELL_PIXELS);
        sdl.staleTop = sdl.height;
        sdl.staleBottom = -1;
        sdl.texturesUploaded++;
    }
    if (sdl.redrawWanted) {
        SDL_UpdateWindowSurface(sdl.window);
        sdl.redrawWanted = false;
        sdl.lastShownTicks = SDL_GetTicks();
    } else if (changed.w > 0) {
        SDL_UpdateWindowSurfaceRects(sdl.window, &changed, 1);
    } else {
        return;
    }
    sdl.framesDrawn++;
}

void sdlPresent(const Cell *cells, int width, int height) {
    if (!sdl.window || width <= 0 || height <= 0)
        return;
    if (width != sdl.width || height != sdl.height)
        resizePicture(width, height);
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
            sdl.layoutWanted = true;
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
    sdl.layoutWanted = true;
}

int sdlPictureScale() {
    return sdl.scale;
}

void sdlSetWindowScale(int scale) {
    if (!sdl.window)
        return;
    if (SDL_GetWindowFlags(sdl.window) & SDL_WINDOW_FULLSCREEN)
        SDL_SetWindowFullscreen(sdl.window, 0);
    int w, h;
    frameSize(std::max(scale, 1), w, h);
    SDL_SetWindowSize(sdl.window, w, h);
    sdl.layoutWanted = true;
    sdlPumpEvents();
    sdlRedraw();
}
