// Hand-written animation sources: any text compiles or gives a message, and
// whatever compiles can be written as a script and drawn as a sheet.
#include "content_tools/animation_source.h"
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    CompiledAnimation animation;
    std::string error;
    if (!compileAnimationSource(text, animation, error)) {
        if (error.empty())
            abort();
        return 0;
    }
    for (const std::vector<AnimationCell> &frame : animation.frames)
        if (frame.size() != static_cast<size_t>(animation.width) * animation.height)
            abort();
    if (animationScript(animation).empty() || animationSheet(animation).cells.empty())
        abort();
    return 0;
}
