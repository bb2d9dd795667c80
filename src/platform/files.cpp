#include "platform/files.h"
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

int replaceFileAtomically(const char *path, const void *data, size_t size) {
    std::string temp = std::string(path) + ".part";
    FILE *f = fopen(temp.c_str(), "wb");
    if (!f)
        return 0;
    // The new file keeps the old one's permissions (a list shared by a group
    // stays shared); a file that is new gets the usual ones.
    struct stat old;
    if (stat(path, &old) == 0)
        fchmod(fileno(f), old.st_mode & 07777);
    bool ok = fwrite(data, 1, size, f) == size;
    ok = fflush(f) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;
    ok = fclose(f) == 0 && ok;
    if (!ok || rename(temp.c_str(), path) != 0) {
        remove(temp.c_str());
        return 0;
    }
    return 1;
}

void syncStream(FILE *stream) {
    if (!stream)
        return;
    fflush(stream);
    fsync(fileno(stream));
}
