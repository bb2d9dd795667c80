#include "console/surface_files.h"
#include "console/message_box.h"
#include "platform/host.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

static uint32_t readU32(const unsigned char *p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

static void writeU32(unsigned char *p, uint32_t v) {
    for (int i = 0; i < 4; i++)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

int loadSurface(FILE *stream, Surface **out) {
    if (!stream)
        return 0;
    unsigned char header[SRF_HEADER_SIZE];
    if (fread(header, 1, SRF_HEADER_SIZE, stream) != SRF_HEADER_SIZE ||
        (header[0] | (header[1] << 8)) != SRF_MAGIC) {
        fclose(stream);
        return 0;
    }
    const uint32_t dataSize = readU32(header + 8);
    const uint32_t fileWidth = readU32(header + 12);
    // A width of 0 leaves the height undefined, and a side that does not fit
    // the picture record is nonsense: both are unreadable files.
    const uint32_t width = fileWidth & 0xFFFF;
    if (width == 0 || width > MAX_PICTURE_SIDE) {
        fclose(stream);
        return 0;
    }
    const uint32_t height = ((dataSize / 4) / width) & 0xFFFF;
    if (height > MAX_PICTURE_SIDE) {
        fclose(stream);
        return 0;
    }
    Surface *surface = createSurface(static_cast<int>(width), static_cast<int>(height));
    if (surface && surface->cells) {
        const size_t count = static_cast<size_t>(width) * height;
        const size_t got = fread(surface->cells, sizeof(Cell), count, stream);
        // Cells missing from a short file are blank, so they draw as nothing.
        for (size_t i = got; i < count; i++)
            surface->cells[i] = Cell{0x20, 0};
    }
    fclose(stream);
    *out = surface;
    return 1;
}

int loadTextSurface(const char *path, Surface **out) {
    FILE *f = openDataFile(path, "r");
    if (!f) {
        char message[80];
        snprintf(message, sizeof message, "Error opening file: [File]%s\n[Line]%d", ".\\Surface",
                 __LINE__);
        messageBox(message, "File Read Error", MB_ICONEXCLAMATION);
        return 0;
    }
    int width = 0, height = 0;
    // A size that cannot be read is treated like a size below 1: no picture.
    if (fscanf(f, "(%d, %d)", &width, &height) != 2 || width < 1 || height < 1 ||
        width > MAX_PICTURE_SIDE || height > MAX_PICTURE_SIDE) {
        fclose(f);
        return 0;
    }
    Surface *surface = createSurface(width, height);
    if (surface && surface->cells) {
        bool readable = true;
        for (int i = 0; i < surface->width * surface->height; i++) {
            int ch = 0, fg = 0, bg = 0;
            // After the first entry that cannot be read, every remaining cell
            // is a blank: the picture shows what it has and nothing made up.
            if (readable && fscanf(f, " (%d, %d, %d)", &ch, &fg, &bg) != 3)
                readable = false;
            if (!readable) {
                surface->cells[i] = Cell{0x20, 0};
                continue;
            }
            surface->cells[i].ch = static_cast<uint16_t>(ch & 0xFF);
            surface->cells[i].attr =
                colourToAttribute(static_cast<uint16_t>(fg), static_cast<uint16_t>(bg));
        }
    }
    fclose(f);
    *out = surface;
    return 1;
}

std::vector<unsigned char> encodeSurface(const Cell *cells, int width, int height) {
    const uint32_t dataSize = static_cast<uint32_t>(width * height * 4);
    std::vector<unsigned char> bytes(SRF_HEADER_SIZE + dataSize, 0);
    bytes[0] = SRF_MAGIC & 0xFF;
    bytes[1] = SRF_MAGIC >> 8;
    writeU32(&bytes[4], SRF_HEADER_SIZE + dataSize);
    writeU32(&bytes[8], dataSize);
    writeU32(&bytes[12], static_cast<uint32_t>(width));
    writeU32(&bytes[16], SRF_HEADER_SIZE);
    if (dataSize)
        memcpy(&bytes[SRF_HEADER_SIZE], cells, dataSize);
    return bytes;
}

int saveScreenshot() {
    if (!backBuffer)
        return 0;
    std::vector<unsigned char> bytes =
        encodeSurface(backBuffer->cells, backBuffer->width, backBuffer->height);
    if (!replaceDataFile("screenshot.srf", bytes.data(), bytes.size())) {
        messageBox("Failed to write file!", "Uh-oh!", MB_ICONEXCLAMATION);
        return 0;
    }
    return 1;
}

// Pictures are loaded again and again during play (the pause picture at
// every pause); a bad one is worth one line, not one a pause.
static bool firstComplaint(const char *path) {
    static std::set<std::string> named;
    return named.insert(path).second;
}

Surface *loadSurfaceFile(const char *path) {
    FILE *f = openDataFile(path, "rb");
    if (!f) {
        const int reason = errno;
        if (firstComplaint(path))
            fprintf(stderr, "%s: %s\n", dataPath(path).c_str(), strerror(reason));
        return nullptr;
    }
    Surface *surface = nullptr;
    if (!loadSurface(f, &surface)) {
        if (firstComplaint(path))
            fprintf(stderr, "%s: not a picture the game can read (no .srf header)\n",
                    dataPath(path).c_str());
        return nullptr;
    }
    return surface;
}
