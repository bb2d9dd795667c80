#include "platform/host.h"
#include <cstdio>
#include <string>
#ifdef _WIN32
#include <filesystem>
#include <io.h>
#include <windows.h>
#else
#include <cstdlib>
#include <unistd.h>
#endif
#ifdef __EMSCRIPTEN__
#include "platform/web/web_storage.h"
#endif

// Pushes the bytes through the system's caches to the disk.
static bool flushToDisk(FILE *f) {
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

// Puts `from` in the place of `to` in one step, replacing it when it exists
// (a plain rename on Windows refuses to replace).
static bool replaceWith(const std::string &from, const char *to) {
#ifdef _WIN32
    return MoveFileExA(from.c_str(), to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return rename(from.c_str(), to) == 0;
#endif
}

int replaceFileAtomically(const char *path, const void *data, size_t size) {
    std::string temp = std::string(path) + ".part";
    FILE *f = fopen(temp.c_str(), "wb");
    if (!f)
        return 0;
    bool ok = fwrite(data, 1, size, f) == size;
    ok = fflush(f) == 0 && ok;
    ok = flushToDisk(f) && ok;
    ok = fclose(f) == 0 && ok;
    if (!ok || !replaceWith(temp, path)) {
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
    flushToDisk(stream);
#ifdef __EMSCRIPTEN__
    wobbleKeepStream(fileno(stream));
#endif
}

std::string makeTempFolder(const char *prefix) {
#ifdef _WIN32
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    if (ec)
        return "";
    // A name no other process uses: this process's id and a count.
    static unsigned count = 0;
    for (int tries = 0; tries < 100; tries++) {
        const fs::path p =
            base / (std::string(prefix) + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(count++));
        if (fs::create_directory(p, ec))
            return p.generic_string();
    }
    return "";
#else
    const char *tmp = getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + prefix + "-XXXXXX";
    return mkdtemp(pattern.data()) ? pattern : "";
#endif
}
