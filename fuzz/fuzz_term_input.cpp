// Any bytes from a terminal, in pieces and with time passing between them:
// the decoder never crashes, only makes key and mouse events the game knows,
// keeps mouse positions inside the picture, and holds no more than it must.
#include "platform/term/term_input.h"
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2)
        return 0;
    TermInput in;
    // The first byte chooses the terminal: kitty keys or not, one or two
    // columns a cell, where the picture sits.
    in.kitty = data[0] & 1;
    in.cellColumns = data[0] & 2 ? 1 : 2;
    in.originColumn = (data[0] >> 2) & 7;
    in.originRow = (data[0] >> 5) & 7;
    uint32_t now = 1000;
    size_t i = 1;
    while (i < size) {
        // Each piece: a length byte, then that many bytes (some of them time).
        const size_t piece = data[i++] % 24;
        const size_t n = piece < size - i ? piece : size - i;
        termInputFeed(in, reinterpret_cast<const char *>(data + i), n, now);
        i += n;
        now += n * 7;
        termInputTick(in, now);
        if (in.events.size() > 4096 || in.pending.size() > 4096)
            abort();
        for (const HostEvent &e : in.events) {
            if (e.type != HOST_EVENT_KEY && e.type != HOST_EVENT_MOUSE)
                abort();
            if (e.type == HOST_EVENT_KEY && e.key.virtualKeyCode > 255)
                abort();
        }
        for (int vk = 0; vk < 256; vk += 17)
            termInputKeyHeld(in, vk);
        if (i % 5 == 0)
            in.events.clear(); // the game reads them now and then
        if (termInputWakeIn(in, now) < -1)
            abort();
    }
    termInputReleaseAll(in);
    return 0;
}
