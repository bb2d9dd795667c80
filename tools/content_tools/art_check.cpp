#include "content_tools/art_check.h"
#include "console/surface_files.h"
#include "content_tools/picture_source.h"
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

std::vector<ArtItem> listArt(const std::string &root) {
    std::vector<ArtItem> items;
    const fs::path art = fs::path(root) / "art";
    std::error_code ec;
    if (!fs::is_directory(art, ec))
        return items;
    for (fs::recursive_directory_iterator it(art, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file() || it->path().extension() != ".txt")
            continue;
        const fs::path rel = fs::relative(it->path(), art);
        const bool png = *rel.begin() == "docs";
        fs::path target = png ? fs::path(root) / rel : fs::path(root) / "data" / rel;
        target.replace_extension(png ? ".png" : ".srf");
        items.push_back({it->path().string(), target.string(), png});
    }
    std::sort(items.begin(), items.end(),
              [](const ArtItem &a, const ArtItem &b) { return a.source < b.source; });
    return items;
}

std::vector<std::string> checkArt(const std::string &root) {
    std::vector<std::string> problems;
    for (const ArtItem &item : listArt(root)) {
        CompiledPicture picture;
        std::string error;
        if (!loadPictureFile(item.source, picture, error)) {
            problems.push_back(error);
            continue;
        }
        std::ifstream in(item.target, std::ios::binary);
        if (!in) {
            problems.push_back(item.target + " is missing: run tools/build_art.sh");
            continue;
        }
        // A PNG is for looking at; only game data must match byte for byte.
        if (item.png)
            continue;
        std::stringstream committed;
        committed << in.rdbuf();
        const std::vector<unsigned char> compiled =
            encodeSurface(picture.cells.data(), picture.width, picture.height);
        const std::string bytes = committed.str();
        if (bytes.size() != compiled.size() ||
            !std::equal(compiled.begin(), compiled.end(), bytes.begin(),
                        [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); }))
            problems.push_back(item.target + " differs from its source " + item.source +
                               ": run tools/build_art.sh");
    }
    return problems;
}
