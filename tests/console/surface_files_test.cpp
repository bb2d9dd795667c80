#include "console/surface_files.h"
#include "test_support.h"
#include <cerrno>
#include <cstring>
#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#endif
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The bytes of a .srf file with the given header fields and `cellBytes` of cells.
std::string srfBytes(uint32_t dataSize, uint32_t width, size_t cellBytes, uint16_t magic = 0xABCD) {
    std::string bytes(SRF_HEADER_SIZE + cellBytes, '\0');
    auto put = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; i++)
            bytes[at + i] = static_cast<char>(v >> (8 * i));
    };
    bytes[0] = static_cast<char>(magic & 0xFF);
    bytes[1] = static_cast<char>(magic >> 8);
    put(4, static_cast<uint32_t>(SRF_HEADER_SIZE + cellBytes));
    put(8, dataSize);
    put(12, width);
    put(16, SRF_HEADER_SIZE);
    for (size_t i = 0; i < cellBytes; i += 4) {
        bytes[SRF_HEADER_SIZE + i] = static_cast<char>('a' + (i / 4) % 26);
        bytes[SRF_HEADER_SIZE + i + 2] = static_cast<char>(i / 4);
    }
    return bytes;
}

struct Loaded {
    int result;
    Surface *surface;
    bool streamClosed;
};

// Loads the bytes from a real file and tells whether the reader closed it.
Loaded load(const TempDir &dir, const std::string &bytes) {
    dir.write("p.srf", bytes);
    FILE *f = fopen(dir.file("p.srf").c_str(), "rb");
    const int fd = fileno(f);
    Surface *surface = nullptr;
    const int result = loadSurface(f, &surface);
#ifdef _WIN32
    const bool closed = _get_osfhandle(fd) == -1;
#else
    const bool closed = fcntl(fd, F_GETFD) == -1 && errno == EBADF;
#endif
    return {result, surface, closed};
}

} // namespace

TEST(SurfaceFiles, HeightComesFromDataSizeAndWidth) {
    TempDir dir;
    // The cells missing from a short file are blank.
    Loaded l = load(dir, srfBytes(400, 10, 250));
    ASSERT_EQ(l.result, 1);
    EXPECT_EQ(l.surface->cells[0].ch, 'a');
    EXPECT_EQ(l.surface->cells[61], (Cell{'a' + 61 % 26, 61}));
    for (int i = 63; i < 100; i++)
        EXPECT_EQ(l.surface->cells[i], (Cell{0x20, 0})) << i;
    freeSurface(l.surface);

    // A part of a row or cell is no row; only the low 16 bits of the width
    // field count; pictures less than two cells wide or high are empty but read.
    const struct {
        uint32_t dataSize, width;
        int expectedWidth, expectedHeight;
    } cases[] = {{400, 10, 10, 10}, {440, 10, 10, 11}, {443, 10, 10, 11}, {100, 0x10005, 5, 5},
                 {40, 1, 0, 0},     {40, 10, 0, 0},    {0, 4, 0, 0}};
    for (const auto &c : cases) {
        l = load(dir, srfBytes(c.dataSize, c.width, c.dataSize));
        ASSERT_EQ(l.result, 1) << c.dataSize << " " << c.width;
        EXPECT_TRUE(l.streamClosed);
        EXPECT_EQ(l.surface->width, c.expectedWidth) << c.dataSize << " " << c.width;
        EXPECT_EQ(l.surface->height, c.expectedHeight) << c.dataSize << " " << c.width;
        EXPECT_EQ(l.surface->cells == nullptr, c.expectedWidth == 0);
        freeSurface(l.surface);
    }
}

TEST(SurfaceFiles, UnreadableFilesProduceNothingAndAreClosed) {
    TempDir dir;
    const std::string cases[] = {
        srfBytes(400, 10, 400, 0xCDAB),       // magic bytes the wrong way round
        srfBytes(400, 0, 400),                // no width: no height either
        srfBytes(400, 5000, 400),             // wider than any picture
        srfBytes(0xFFFFFFF0u, 2, 16),         // a height of half a billion rows
        srfBytes(400, 10, 400).substr(0, 87), // not even a whole header
        std::string(),                        // an empty file
    };
    for (const std::string &bytes : cases) {
        Loaded l = load(dir, bytes);
        EXPECT_EQ(l.result, 0) << bytes.size();
        EXPECT_TRUE(l.streamClosed);
        EXPECT_EQ(l.surface, nullptr);
    }
    Surface *surface = nullptr;
    EXPECT_EQ(loadSurface(nullptr, &surface), 0);

    // Loaded by name (as the pause picture is at every pause), a bad picture
    // is named once, not at every load.
    dir.write("data/surfaces/Twisted.srf", cases[0]);
    dataRoot = dir.path;
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadSurfaceFile("data/surfaces/Twisted.srf"), nullptr);
    EXPECT_EQ(loadSurfaceFile("data/surfaces/Twisted.srf"), nullptr);
    const std::string said = testing::internal::GetCapturedStderr();
    dataRoot = wobbleSourceDir;
    EXPECT_EQ(said, dir.file("data/surfaces/Twisted.srf") +
                        ": not a picture the game can read (no .srf header)\n");
}

TEST(SurfaceFiles, EncodedPicturesAndScreenshotsReadBackExactly) {
    HeadlessGame game;
    TempDir dir;
    std::vector<Cell> cells(7 * 3);
    for (size_t i = 0; i < cells.size(); i++)
        cells[i] = Cell{static_cast<uint16_t>(200 + i), static_cast<uint16_t>(i * 11)};
    const std::vector<unsigned char> bytes = encodeSurface(cells.data(), 7, 3);
    Loaded l = load(dir, std::string(bytes.begin(), bytes.end()));
    ASSERT_EQ(l.result, 1);
    EXPECT_EQ(std::vector<Cell>(l.surface->cells, l.surface->cells + 21), cells);
    freeSurface(l.surface);

    // A screenshot holds the frame as drawn.
    for (int i = 0; i < SCREEN_WIDTH * SCREEN_HEIGHT; i++)
        backBuffer->cells[i] = Cell{static_cast<uint16_t>(i % 251), static_cast<uint16_t>(i % 256)};
    dataRoot = dir.path;
    ASSERT_EQ(saveScreenshot(), 1);
    Surface *shot = nullptr;
    ASSERT_EQ(loadSurface(fopen(dir.file("screenshot.srf").c_str(), "rb"), &shot), 1);
    ASSERT_EQ(shot->width, SCREEN_WIDTH);
    ASSERT_EQ(shot->height, SCREEN_HEIGHT);
    EXPECT_EQ(memcmp(shot->cells, backBuffer->cells, sizeof(Cell) * SCREEN_WIDTH * SCREEN_HEIGHT),
              0);
    freeSurface(shot);
}

TEST(TextPictures, SizesAndEntries) {
    HeadlessGame game;
    TempDir dir;
    dataRoot = dir.path;
    Surface *s = nullptr;

    dir.write("thin.txt", "(2, 1) (65, 2, 5) (66, 2, 5)");
    ASSERT_EQ(loadTextSurface("thin.txt", &s), 1);
    EXPECT_EQ(s->cells, nullptr);
    freeSurface(s);

    // Entries may be laid out freely; only the low byte of a code is the character.
    dir.write("sub/pic.txt", "(2, 2)\n (65, 2, 5) (321,0,1)\n\n(  7, 20, 20)\t(32, 15, 0)\n");
    ASSERT_EQ(loadTextSurface("sub\\pic.txt", &s), 1);
    ASSERT_NE(s->cells, nullptr);
    EXPECT_EQ(s->cells[0], (Cell{'A', 0x1F}));
    EXPECT_EQ(s->cells[1], (Cell{'A', 0xF0}));
    EXPECT_EQ(s->cells[2], (Cell{7, 0x83}));
    EXPECT_EQ(s->cells[3], (Cell{' ', 0x03}));
    freeSurface(s);

    // After an entry that cannot be read, the rest of the picture is blank.
    dir.write("broken.txt", "(3, 2) (66, 2, 0) (67, 2 0) (68, 2, 0)");
    ASSERT_EQ(loadTextSurface("broken.txt", &s), 1);
    EXPECT_EQ(s->cells[0], (Cell{'B', 0x0F}));
    for (int i = 1; i < 6; i++)
        EXPECT_EQ(s->cells[i], (Cell{0x20, 0})) << i;
    freeSurface(s);

    s = nullptr;
    for (const char *bad : {"(0, 5)", "(5, 0)", "(-3, 4)", "5, 5", "(5 5)", "", "(99999, 99999)"}) {
        dir.write("bad.txt", bad);
        EXPECT_EQ(loadTextSurface("bad.txt", &s), 0) << bad;
        EXPECT_EQ(s, nullptr);
    }
}

TEST(TextPictures, AMissingFileIsReportedInABox) {
    HeadlessGame game("100 tap RETURN");
    headless.keepFrames = true;
    TempDir dir;
    dataRoot = dir.path;
    Surface *s = nullptr;
    EXPECT_EQ(loadTextSurface("missing.txt", &s), 0);
    EXPECT_EQ(s, nullptr);
    EXPECT_TRUE(anyFrameShows(headless.frames, "File Read Error"));
    EXPECT_TRUE(anyFrameShows(headless.frames, "Error opening file: [File].\\Surface"));
}
