// Hand-written picture sources: any text compiles or gives a message, and
// whatever compiles comes back unchanged through dump and compile.
#include "content_tools/picture_source.h"
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    CompiledPicture picture;
    std::string error;
    if (!compilePictureSource(text, picture, error)) {
        if (error.empty())
            abort();
        return 0;
    }
    if (picture.cells.size() != static_cast<size_t>(picture.width) * picture.height)
        abort();
    // Large pictures take long to print; the small ones find the same faults.
    if (picture.cells.size() > 4096)
        return 0;
    CompiledPicture again;
    const std::string source =
        pictureSourceFromCells(picture.cells.data(), picture.width, picture.height);
    if (!compilePictureSource(source, again, error) || again.cells != picture.cells)
        abort();
    return 0;
}
