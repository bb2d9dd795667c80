// srftool: the picture tool. Compiles hand-written picture sources into .srf
// files and animation sources into .anm scripts, draws any picture or
// animation as a PNG with the game's font, prints pictures as text and checks
// that content/ and the compiled files agree. See the README.
#include "console/console_setup.h"
#include "console/surface_files.h"
#include "content_tools/animation_source.h"
#include "content_tools/content_check.h"
#include "content_tools/picture_source.h"
#include "content_tools/png_export.h"
#include "platform/files.h"
#include "platform/host.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char *usage =
    "usage:\n"
    "  srftool compile [--game-text] IN.txt OUT.srf   picture source (or the game's\n"
    "                                                 text picture form) to .srf\n"
    "  srftool anm IN.anim OUT.anm                    animation source to .anm\n"
    "  srftool png IN OUT.png [--scale=N] [--palette=RRGGBB,...]\n"
    "                                                 any picture, or an animation's\n"
    "                                                 frames turned four ways, to PNG\n"
    "  srftool dump IN                                size, then the picture as source\n"
    "  srftool check [ROOT]                           content/ against the compiled files\n";

int fail(const std::string &message) {
    fprintf(stderr, "srftool: %s\n", message.c_str());
    return 1;
}

bool startsWith(const std::string &s, const char *prefix) {
    return s.compare(0, strlen(prefix), prefix) == 0;
}

// Sixteen colours RRGGBB (an optional '#' each), comma separated, turned into
// the palette's own 0x00BBGGRR entries.
bool parsePalette(const std::string &text, uint32_t palette[16]) {
    size_t pos = 0;
    for (int i = 0; i < 16; i++) {
        size_t end = text.find(',', pos);
        if ((end == std::string::npos) != (i == 15))
            return false;
        std::string item =
            text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (!item.empty() && item[0] == '#')
            item.erase(0, 1);
        if (startsWith(item, "0x") || startsWith(item, "0X"))
            item.erase(0, 2);
        if (item.empty() || item.size() > 6 ||
            item.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return false;
        const uint32_t rgb = static_cast<uint32_t>(strtoul(item.c_str(), nullptr, 16));
        palette[i] = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
        pos = end + 1;
    }
    return true;
}

int compileCommand(const std::vector<std::string> &args) {
    bool specText = false;
    std::vector<std::string> files;
    for (const std::string &a : args) {
        if (a == "--game-text")
            specText = true;
        else
            files.push_back(a);
    }
    if (files.size() != 2)
        return fail(std::string("compile needs IN and OUT\n") + usage);
    CompiledPicture picture;
    std::string error;
    if (specText) {
        Surface *surface = nullptr;
        FILE *probe = fopen(files[0].c_str(), "r");
        if (!probe)
            return fail(files[0] + ": " + strerror(errno));
        fclose(probe);
        if (!loadTextPictureFile(files[0], &surface))
            return fail(files[0] + ": the size '(WIDTH, HEIGHT)' cannot be read or is below 1");
        if (!surface->cells) {
            freeSurface(surface);
            return fail(files[0] + ": the picture is smaller than 2 x 2 and has no cells");
        }
        picture.width = surface->width;
        picture.height = surface->height;
        picture.cells.assign(surface->cells, surface->cells + picture.width * picture.height);
        freeSurface(surface);
    } else if (!loadPictureFile(files[0], picture, error)) {
        return fail(error);
    }
    const std::vector<unsigned char> bytes =
        encodeSurface(picture.cells.data(), picture.width, picture.height);
    if (!replaceFileAtomically(files[1].c_str(), bytes.data(), bytes.size()))
        return fail(files[1] + ": cannot be written");
    return 0;
}

bool endsWith(const std::string &s, const char *suffix) {
    const size_t n = strlen(suffix);
    return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

int anmCommand(const std::vector<std::string> &args) {
    if (args.size() != 2)
        return fail(std::string("anm needs IN and OUT\n") + usage);
    CompiledAnimation animation;
    std::string error;
    if (!loadAnimationSourceFile(args[0], animation, error))
        return fail(error);
    const std::string script = animationScript(animation);
    if (!replaceFileAtomically(args[1].c_str(), script.data(), script.size()))
        return fail(args[1] + ": cannot be written");
    return 0;
}

int pngCommand(const std::vector<std::string> &args) {
    int scale = 1;
    uint32_t palette[16];
    memcpy(palette, standardPalette, sizeof palette);
    std::vector<std::string> files;
    for (const std::string &a : args) {
        if (startsWith(a, "--scale=")) {
            scale = atoi(a.c_str() + 8);
            if (scale < 1 || scale > 16)
                return fail("--scale takes a whole number from 1 to 16");
        } else if (startsWith(a, "--palette=")) {
            if (!parsePalette(a.substr(10), palette))
                return fail("--palette takes 16 colours RRGGBB separated by commas");
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2)
        return fail(std::string("png needs IN and OUT\n") + usage);
    CompiledPicture picture;
    std::string error;
    if (endsWith(files[0], ".anim")) {
        CompiledAnimation animation;
        if (!loadAnimationSourceFile(files[0], animation, error))
            return fail(error);
        picture = animationSheet(animation);
    } else if (!loadPictureFile(files[0], picture, error)) {
        return fail(error);
    }
    if (!writeCellsPng(files[1].c_str(), picture.cells.data(), picture.width, picture.height,
                       palette, scale))
        return fail(files[1] + ": cannot be written (or the picture is too large at this scale)");
    return 0;
}

int dumpCommand(const std::vector<std::string> &args) {
    if (args.size() != 1)
        return fail(std::string("dump needs IN\n") + usage);
    CompiledPicture picture;
    std::string error;
    if (!loadPictureFile(args[0], picture, error))
        return fail(error);
    fputs(pictureSourceFromCells(picture.cells.data(), picture.width, picture.height).c_str(),
          stdout);
    return 0;
}

int checkCommand(const std::vector<std::string> &args) {
    if (args.size() > 1)
        return fail(std::string("check takes at most ROOT\n") + usage);
    const std::string root = args.empty() ? "." : args[0];
    const ContentReport report = checkContent(root);
    for (const std::string &p : report.problems)
        fprintf(stderr, "%s\n", p.c_str());
    printf("%d sources checked, %zu problems\n", report.sources, report.problems.size());
    return report.problems.empty() ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        fputs(usage, stderr);
        return 2;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "compile")
        return compileCommand(args);
    if (command == "anm")
        return anmCommand(args);
    if (command == "png")
        return pngCommand(args);
    if (command == "dump")
        return dumpCommand(args);
    if (command == "check")
        return checkCommand(args);
    if (command == "help" || command == "--help" || command == "-h") {
        fputs(usage, stdout);
        return 0;
    }
    fprintf(stderr, "srftool: unknown command '%s'\n%s", command.c_str(), usage);
    return 2;
}
