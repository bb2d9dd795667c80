#include <emscripten.h>
#include <stb/stb_vorbis.h>

// Decodes Ogg Vorbis for a browser that cannot (the page tries its own
// decoder first): interleaved 16-bit samples, freed by the caller, with the
// channels, sample rate and frames in `info`. Null when the bytes are not Vorbis.
extern "C" EMSCRIPTEN_KEEPALIVE short *webDecodeVorbis(const unsigned char *bytes, int size,
                                                       int info[3]) {
    short *samples = nullptr;
    const int frames = stb_vorbis_decode_memory(bytes, size, &info[0], &info[1], &samples);
    info[2] = frames;
    return frames > 0 ? samples : nullptr;
}
