#include "content_tools/content_check.h"
#include "console/surface_files.h"
#include "content_tools/animation_source.h"
#include "content_tools/level_source.h"
#include "content_tools/picture_source.h"
#include "content_tools/source_text.h"
#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const char *const REBUILD = ": run make content";

// The files under `folder` whose names end in `extension`, in name order.
std::vector<fs::path> sources(const fs::path &folder, const std::string &extension) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file() && it->path().extension() == extension)
            found.push_back(it->path());
    std::sort(found.begin(), found.end());
    return found;
}

// Compares a committed file with what its source compiles to. Paths are
// written with forward slashes on every system.
void compare(const fs::path &target, const std::string &compiled, const fs::path &source,
             std::vector<std::string> &problems) {
    std::string committed, error;
    if (!readWholeFile(target.generic_string(), committed, error))
        problems.push_back(target.generic_string() + " is missing" + REBUILD);
    else if (committed != compiled)
        problems.push_back(target.generic_string() + " differs from its source " +
                           source.generic_string() + REBUILD);
}

} // namespace

ContentReport checkContent(const std::string &rootPath) {
    ContentReport report;
    std::vector<std::string> &problems = report.problems;
    const fs::path root(rootPath), content = root / "content";

    const fs::path art = content / "art";
    for (const fs::path &source : sources(art, ".txt")) {
        report.sources++;
        const fs::path rel = fs::relative(source, art);
        const bool doc = *rel.begin() == "docs";
        fs::path target = doc ? root / rel : root / "data" / rel;
        target.replace_extension(doc ? ".png" : ".srf");
        CompiledPicture picture;
        std::string error;
        if (!loadPictureFile(source.generic_string(), picture, error)) {
            problems.push_back(error);
        } else if (doc) {
            // A PNG is for looking at; only game data must match byte for byte.
            if (!fs::exists(target))
                problems.push_back(target.generic_string() + " is missing" + REBUILD);
        } else {
            const std::vector<unsigned char> srf =
                encodeSurface(picture.cells.data(), picture.width, picture.height);
            compare(target, std::string(srf.begin(), srf.end()), source, problems);
        }
    }

    for (const fs::path &source : sources(content / "animations", ".anim")) {
        report.sources++;
        CompiledAnimation animation;
        std::string error;
        if (!loadAnimationSourceFile(source.generic_string(), animation, error))
            problems.push_back(error);
        else
            compare(root / "data" / "surfaces" / (source.stem().string() + ".anm"),
                    animationScript(animation), source, problems);
    }

    for (const fs::path &source : sources(content / "levels", ".level")) {
        report.sources++;
        CompiledLevel level;
        std::string error;
        if (!loadLevelSourceFile(source.generic_string(), level, error)) {
            problems.push_back(error);
            continue;
        }
        const fs::path base = root / "data" / "levels" / level.name;
        compare(base.generic_string() + ".lvl", std::string(level.lvl.begin(), level.lvl.end()),
                source, problems);
        compare(base.generic_string() + ".rot", level.rot, source, problems);
    }

    for (const char *kind : {"music", "sfx"})
        for (const fs::path &source : sources(content / "scores" / kind, ".score")) {
            report.sources++;
            const fs::path target = root / "data" / kind / (source.stem().string() + ".ogg");
            if (!fs::exists(target))
                problems.push_back(target.generic_string() + " is missing" + REBUILD);
        }
    return report;
}
