#include "console/surface_files.h"
#include "content_tools/art_check.h"
#include "content_tools/picture_source.h"
#include "test_support.h"
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

CompiledPicture compileOk(const std::string &text) {
    CompiledPicture picture;
    std::string error;
    EXPECT_EQ(compilePictureSource(text, picture, error), 1) << error;
    return picture;
}

std::string compileError(const std::string &text) {
    CompiledPicture picture;
    std::string error;
    EXPECT_EQ(compilePictureSource(text, picture, error), 0) << text;
    return error;
}

Cell at(const CompiledPicture &p, int x, int y) {
    return p.cells[y * p.width + x];
}

} // namespace

TEST(PictureSource, LegendCharactersAndColourGrids) {
    const CompiledPicture p = compileOk("# a small test picture\n"
                                        "size 6 3\n"
                                        "default yellow 1\n"
                                        "key R █ red\n"
                                        "key ~ ▀ yellow darkred\n"
                                        "key o 0x07 - green\n"
                                        "key z 01 # code 1, the smiling face\n"
                                        "key # # white # a key may be '#'\n"
                                        "\n"
                                        "chars\n"
                                        "╔═R~o╗\n"
                                        "║Hi\n"
                                        "  # z\r\n"
                                        "fg\n"
                                        "..C.9F\n"
                                        "  0\n"
                                        "\n"
                                        "bg\n"
                                        "0000\n");
    ASSERT_EQ(p.width, 6);
    ASSERT_EQ(p.height, 3);
    EXPECT_EQ(at(p, 0, 0), (Cell{0xC9, 0x0E})); // literal line drawing, grid bg 0
    EXPECT_EQ(at(p, 2, 0), (Cell{0xDB, 0x0C})); // the key's colour wins over the grid
    EXPECT_EQ(at(p, 3, 0), (Cell{0xDF, 0x4E})); // key with both colours
    EXPECT_EQ(at(p, 4, 0), (Cell{0x07, 0xA9})); // '-' takes the grid's foreground
    EXPECT_EQ(at(p, 5, 0), (Cell{0xBB, 0x1F})); // past the bg grid's row: the default
    EXPECT_EQ(at(p, 2, 1), (Cell{'i', 0x10}));  // colour 0 is black, not "none"
    EXPECT_EQ(at(p, 5, 1), (Cell{' ', 0x1E}));  // short rows end in blanks
    EXPECT_EQ(at(p, 2, 2), (Cell{'#', 0x1F}));  // '#' as a key
    EXPECT_EQ(at(p, 4, 2), (Cell{0x01, 0x1E})); // a two-digit number is a code
}

TEST(PictureSource, GridsEndAtTheirHeightOrAtTheNextGrid) {
    // A grid takes the next `height` rows even when they look like directives;
    // it ends early at a line that names another grid, and a file that ends
    // early leaves the remaining rows blank.
    CompiledPicture p = compileOk("size 4 3\nchars\nsize\nkey\n");
    EXPECT_EQ(at(p, 0, 0).ch, 's');
    EXPECT_EQ(at(p, 1, 1).ch, 'e');
    EXPECT_EQ(at(p, 0, 2), (Cell{' ', 0x0F}));
    p = compileOk("size 4 3\nchars\nab\nfg\nC\nbg\n1\n\n2\n");
    EXPECT_EQ(at(p, 0, 0), (Cell{'a', 0x1C}));
    EXPECT_EQ(at(p, 0, 1), (Cell{' ', 0x0F}));
    EXPECT_EQ(at(p, 0, 2), (Cell{' ', 0x2F}));
}

TEST(PictureSource, MistakesAreReportedWithTheirLine) {
    const std::pair<const char *, const char *> cases[] = {
        {"chars\nab\n", "line 1: the size must come before"},
        {"size 2 2\n", "no 'chars' grid"},
        {"size 1 5\nchars\n", "line 1: size 1 x 5"},
        {"size 2 x\n", "line 1: expected 'size WIDTH HEIGHT'"},
        {"size 2 2\nsize 3 3\n", "line 2: a second size (the first is on line 1)"},
        {"size 2 2\n\nkey ab █\n", "line 3: a key is one character"},
        {"size 2 2\nkey a █\nkey a ▀\n", "line 3: the key 'a' (U+0061) is given twice"},
        {"size 2 2\nkey a € red\n", "line 2: '€' (U+20AC) is not a code-page-437 character"},
        {"size 2 2\nkey a x purple-ish\n", "line 2: unknown colour"},
        {"size 2 2\nchars\nab\ncd\nef\n", "line 5: unknown word 'ef'"},
        {"size 2 2\nchars\nabc\n", "line 3: row is 3 characters wide, the picture 2"},
        {"size 3 2\nchars\n\na€b\n", "line 4: column 2: '€' (U+20AC) is not a code-page-437"},
        {"size 3 2\nchars\nabc\nfg\n12G\n", "line 5: column 3: 'G' (U+0047) is not a colour"},
        {"size 3 2\nchars\nabc\nabc\nchars\n", "line 5: a second chars grid"},
    };
    for (const auto &[text, expected] : cases) {
        const std::string error = compileError(text);
        EXPECT_NE(error.find(expected), std::string::npos) << "got: " << error;
    }
}

TEST(PictureSource, EveryPictureSurvivesDumpAndCompile) {
    // Every code (0 and the no-break space included) and every colour pair.
    srand(7);
    for (int round = 0; round < 20; round++) {
        const int w = 2 + rand() % 40, h = 2 + rand() % 20;
        std::vector<Cell> cells(w * h);
        for (Cell &c : cells) {
            const int kind = rand() % 4;
            c.ch = static_cast<uint16_t>(kind == 0   ? ' '
                                         : kind == 1 ? rand() % 4 * 0x55
                                                     : rand() % 256);
            c.attr = static_cast<uint16_t>(rand() % 3 ? 0x1E : rand() % 256);
        }
        if (round == 0)
            for (int i = 0; i < w * h; i++)
                cells[i] = Cell{static_cast<uint16_t>(i % 256), static_cast<uint16_t>(i * 7 % 256)};
        const std::string source = pictureSourceFromCells(cells.data(), w, h);
        const CompiledPicture p = compileOk(source);
        ASSERT_EQ(p.width, w);
        ASSERT_EQ(p.height, h);
        ASSERT_EQ(p.cells, cells) << source;
    }
    // Rows that read as the names of grids stay rows.
    const Cell names[10] = {{'f', 7}, {'g', 7}, {'b', 7}, {'g', 7}, {0, 7},
                            {'f', 7}, {'c', 7}, {'h', 7}, {' ', 7}, {'g', 7}};
    EXPECT_EQ(compileOk(pictureSourceFromCells(names, 2, 5)).cells,
              std::vector<Cell>(names, names + 10));
    const Cell chars[10] = {{'c', 7}, {'h', 7}, {'a', 7}, {'r', 7}, {'s', 7},
                            {'c', 7}, {'h', 7}, {'a', 7}, {'r', 7}, {'s', 7}};
    EXPECT_EQ(compileOk(pictureSourceFromCells(chars, 5, 2)).cells,
              std::vector<Cell>(chars, chars + 10));
    // A picture in one colour pair needs no colour grids.
    const Cell plain[4] = {{'a', 0x1E}, {'b', 0x1E}, {'c', 0x1E}, {'d', 0x1E}};
    EXPECT_EQ(pictureSourceFromCells(plain, 2, 2),
              "size 2 2\ndefault yellow darkblue\nchars\nab\ncd\n");
}

TEST(PictureSource, FilesInEveryForm) {
    TempDir dir;
    CompiledPicture p;
    std::string error;
    dir.write("source.txt", "size 2 2\nchars\nAB\nCD\n");
    ASSERT_EQ(loadPictureFile(dir.file("source.txt"), p, error), 1) << error;
    EXPECT_EQ(p.cells[3].ch, 'D');

    const std::vector<unsigned char> srf = encodeSurface(p.cells.data(), 2, 2);
    dir.write("pic.srf", std::string(srf.begin(), srf.end()));
    CompiledPicture back;
    ASSERT_EQ(loadPictureFile(dir.file("pic.srf"), back, error), 1) << error;
    EXPECT_EQ(back.cells, p.cells);

    dir.write("game.txt", "(2, 2) (65, 2, 5)\n (66, 2, 5) (67, 2, 5) (68, 2, 5)");
    EXPECT_TRUE(isGameTextPicture(dir.read("game.txt")));
    EXPECT_FALSE(isGameTextPicture(dir.read("source.txt")));
    ASSERT_EQ(loadPictureFile(dir.file("game.txt"), p, error), 1) << error;
    EXPECT_EQ(p.cells[0], (Cell{'A', 0x1F}));

    // The size must open the file: the game reads it without skipping anything.
    dir.write("late.txt", "\n(2, 2) (65, 2, 5) (66, 2, 5) (67, 2, 5) (68, 2, 5)");
    EXPECT_EQ(loadPictureFile(dir.file("late.txt"), p, error), 0);
    EXPECT_NE(error.find("the size '(WIDTH, HEIGHT)' cannot be read"), std::string::npos) << error;
    dir.write("thin.txt", "(2, 1) (65, 2, 5) (66, 2, 5)");
    EXPECT_EQ(loadPictureFile(dir.file("thin.txt"), p, error), 0);
    EXPECT_NE(error.find("smaller than 2 x 2"), std::string::npos) << error;
    dir.write("bad.txt", "size 2 2\nchars\nABC\n");
    EXPECT_EQ(loadPictureFile(dir.file("bad.txt"), p, error), 0);
    EXPECT_NE(error.find("bad.txt: line 3:"), std::string::npos) << error;
    EXPECT_EQ(loadPictureFile(dir.file("none.txt"), p, error), 0);
    EXPECT_NE(error.find("none.txt"), std::string::npos) << error;
}

TEST(ArtCheck, FindsMissingStaleAndBrokenPictures) {
    TempDir root;
    root.write("art/surfaces/Menu/Menu.txt", "size 2 2\nchars\nAB\nCD\n");
    root.write("art/surfaces/HUD.txt", "(2, 2) (65, 2, 5) (66, 2, 5) (67, 2, 5) (68, 2, 5)");
    root.write("art/docs/sheet.txt", "size 2 2\nchars\nxy\n");
    root.write("art/README.md", "not a picture");
    const std::vector<ArtItem> items = listArt(root.path);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].target, root.file("docs/sheet.png"));
    EXPECT_TRUE(items[0].png);
    EXPECT_EQ(items[1].target, root.file("data/surfaces/HUD.srf"));
    EXPECT_EQ(items[2].target, root.file("data/surfaces/Menu/Menu.srf"));
    EXPECT_FALSE(items[2].png);

    // Nothing compiled yet: every target is missing.
    EXPECT_EQ(checkArt(root.path).size(), 3u);

    for (const ArtItem &item : items) {
        CompiledPicture p;
        std::string error;
        ASSERT_EQ(loadPictureFile(item.source, p, error), 1) << error;
        const std::vector<unsigned char> srf = encodeSurface(p.cells.data(), p.width, p.height);
        const std::string rel = item.target.substr(root.path.size() + 1);
        root.write(rel, item.png ? "PNG" : std::string(srf.begin(), srf.end()));
    }
    EXPECT_EQ(checkArt(root.path), std::vector<std::string>{});

    // A source edited without rebuilding, and a source that no longer compiles.
    root.write("art/surfaces/Menu/Menu.txt", "size 2 2\nchars\nAB\nCE\n");
    root.write("art/surfaces/HUD.txt", "(1, 1)");
    const std::vector<std::string> problems = checkArt(root.path);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[0].find("HUD.txt"), std::string::npos) << problems[0];
    EXPECT_NE(problems[1].find("Menu.srf differs from its source"), std::string::npos)
        << problems[1];
}

TEST(ArtCheck, CommittedPicturesMatchTheirSources) {
    // Every picture source of the game compiles to exactly the committed file.
    ASSERT_FALSE(listArt(WOBBLE_SOURCE_DIR).empty());
    for (const std::string &problem : checkArt(WOBBLE_SOURCE_DIR))
        ADD_FAILURE() << problem;
}
