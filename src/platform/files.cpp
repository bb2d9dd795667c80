#include "platform/host.h"
#include <cstdio>
#include <string>
#include <unistd.h>
#ifdef __EMSCRIPTEN__
#include "platform/web/web_storage.h"
#endif

int replaceFileAtomically(const char *path, const void *data, size_t size) {
    std::string temp = std::string(path) + ".part";
    FILE *f = fopen(temp.c_str(), "wb");
    if (!f)
        return 0;
    bool ok = fwrite(data, 1, size, f) == size;
    ok = fflush(f) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;
    ok = fclose(f) == 0 && ok;
    if (!ok || rename(temp.c_str(), path) != 0) {
        remove(temp.c_str());
        return 0;
    }
#ifdef __EMSCRIPTEN__
    wobbleKeepFile(path); // the page's files vanish with it unless kept
#endif
    return 1;
}

void syncStream(FILE *stream) {
    if (!stream)
        return;
    fflush(stream);
    fsync(fileno(stream));
#ifdef __EMSCRIPTEN__
    wobbleKeepStream(fileno(stream));
#endif
}
