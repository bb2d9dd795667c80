#include "console/surface_files.h"
#include "content_tools/animation_source.h"
#include "content_tools/content_check.h"
#include "content_tools/level_source.h"
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
    // Line drawing is taken literally (the bg grid's 0 under it); a key's
    // colour wins over the grid's; '-' takes the grid's foreground; past the bg
    // grid's rows comes the default; colour 0 is black, not "none"; short rows
    // end in blanks; '#' can be a key; a two-digit number is a code.
    EXPECT_EQ(std::make_pair(p.width, p.height), std::make_pair(6, 3));
    const std::vector<Cell> expected = {
        {0xC9, 0x0E}, {0xCD, 0x0E}, {0xDB, 0x0C}, {0xDF, 0x4E}, {0x07, 0xA9}, {0xBB, 0x1F},
        {0xBA, 0x1E}, {'H', 0x1E},  {'i', 0x10},  {' ', 0x1E},  {' ', 0x1E},  {' ', 0x1E},
        {' ', 0x1E},  {' ', 0x1E},  {'#', 0x1F},  {' ', 0x1E},  {0x01, 0x1E}, {' ', 0x1E}};
    EXPECT_EQ(p.cells, expected);
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
    dir.write("thin.txt", "(2, 1) (65, 2, 5) (66, 2, 5)");
    dir.write("bad.txt", "size 2 2\nchars\nABC\n");
    const std::pair<const char *, const char *> refused[] = {
        {"late.txt", "the size '(WIDTH, HEIGHT)' cannot be read"},
        {"thin.txt", "smaller than 2 x 2"},
        {"bad.txt", "bad.txt: line 3:"},
        {"none.txt", "none.txt"}};
    for (const auto &[file, message] : refused) {
        EXPECT_EQ(loadPictureFile(dir.file(file), p, error), 0) << file;
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

TEST(AnimationSource, PixelsBecomeHalfBlocksAndMistakesNameTheirLine) {
    // Two pixels a cell: red over nothing, black over red; the mirror swaps
    // the columns; dark grey can only be a background.
    CompiledAnimation a;
    std::string error;
    ASSERT_EQ(compileAnimationSource("size 2 1\ngroup 6\ncollides 0 3\nframe a\nRk\n.R\n"
                                     "frame b mirror a\nframe c\ndd\n.d\n",
                                     a, error),
              1)
        << error;
    EXPECT_EQ(animationScript(a), "(2,1)[3,0]\n"
                                  "6\n:03\n(223,5,0) (223,1,4)\n"
                                  "6\n:03\n(223,1,4) (223,5,0)\n"
                                  "6\n:03\n(220,1,15) (0,0,15)\n");
    const std::pair<const char *, const char *> mistakes[] = {
        {"size 2 1\ngroup 1\ncollides none\nframe a\nRk\nR\n", "line 6: row is 1 wide"},
        {"size 2 1\ngroup 1\ncollides none\nframe a\nRx\n..\n", "line 5: column 2: 'x'"},
        {"size 2 1\ngroup 1\ncollides none\nframe a\nRk\n", "the frame needs 2 rows"},
        {"size 2 1\ngroup 1\ncollides none\nframe b mirror a\n", "line 4: no pixel frame 'a'"},
        {"size 2 1\ngroup 1\ncollides none\nkey B ▓ darkgrey red\n", "line 4: an animation "
                                                                     "cannot draw dark grey"},
        {"size 2 1\ngroup 1\ncollides none\nframe w cells\nBB\n", "line 5: column 1: 'B'"},
        {"size 2 1\ncollides 0\nframe a\nRk\n..\n", "needs a size, a group"},
    };
    for (const auto &[text, message] : mistakes) {
        EXPECT_EQ(compileAnimationSource(text, a, error), 0) << text;
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

TEST(ContentCheck, FindsMissingStaleAndBrokenSources) {
    TempDir root;
    root.write("content/art/surfaces/Menu/Menu.txt", "size 2 2\nchars\nAB\nCD\n");
    root.write("content/art/docs/sheet.txt", "size 2 2\nchars\nxy\n");
    root.write("content/art/README.md", "not a picture");
    root.write("content/animations/Kiss.anim", "size 1 1\ngroup 6\ncollides 0\nframe a\nM\nM\n");
    root.write("content/levels/01-a.level", "name A\ntime 5\nturns 90\nplayer 1 2 right\n");
    root.write("content/scores/sfx/pop.score", "any");

    // Nothing compiled yet: every target is missing.
    ContentReport report = checkContent(root.path);
    EXPECT_EQ(report.sources, 5);
    ASSERT_EQ(report.problems.size(), 6u);
    std::string said;
    for (const std::string &problem : report.problems)
        said += problem + "\n";
    for (const char *target :
         {"docs/sheet.png", "data/surfaces/Menu/Menu.srf", "data/surfaces/Kiss.anm",
          "data/levels/A.lvl", "data/levels/A.rot", "data/sfx/pop.ogg"})
        EXPECT_NE(said.find(std::string(target) + " is missing"), std::string::npos) << said;

    root.writeSurface("data/surfaces/Menu/Menu.srf", 2, 2, Cell{'A', 0x0F});
    root.write("docs/sheet.png", "PNG");
    root.write("data/surfaces/Kiss.anm", "(1,1)[1,0]\n6\n:0\n(219,10,0)\n");
    CompiledLevel level;
    std::string error;
    ASSERT_EQ(compileLevelSource(root.read("content/levels/01-a.level"), level, error), 1);
    root.write("data/levels/A.lvl", std::string(level.lvl.begin(), level.lvl.end()));
    root.write("data/levels/A.rot", "90\n");
    root.write("data/sfx/pop.ogg", "OGG");
    report = checkContent(root.path);
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_NE(report.problems[0].find("Menu.srf differs from its source"), std::string::npos)
        << report.problems[0];

    // Sources edited without rebuilding, and one that no longer compiles.
    root.write("content/art/surfaces/Menu/Menu.txt", "size 2 2\ndefault F\nchars\nAA\nAA\n");
    root.write("content/animations/Kiss.anim", "size 1 1\ngroup 6\ncollides 0 3\nframe a\nM\nM\n");
    root.write("content/levels/01-a.level", "name A\nturns 45\n");
    report = checkContent(root.path);
    ASSERT_EQ(report.problems.size(), 2u);
    EXPECT_NE(report.problems[0].find("Kiss.anm differs"), std::string::npos) << report.problems[0];
    EXPECT_NE(report.problems[1].find("01-a.level: line 2: a turn is 90"), std::string::npos)
        << report.problems[1];
}

TEST(ContentCheck, CommittedFilesMatchTheirSources) {
    // Every picture, animation and level of the game compiles to exactly the
    // committed file, and every score has its sound.
    const ContentReport report = checkContent(wobbleSourceDir);
    EXPECT_GT(report.sources, 80);
    for (const std::string &problem : report.problems)
        ADD_FAILURE() << problem;
}
