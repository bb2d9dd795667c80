// Every file the game opens goes through resolveGamePath: one place decides
// which real file a game path names and whether it may be touched at all.
#include "platform/files.h"
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>
#ifdef _WIN32
#include <direct.h>
#include <filesystem>
#include <io.h>
#include <windows.h>
// Windows has no links to follow out of the data in its plain file calls, and
// its files never block on opening. Its full paths are spelt with forward
// slashes here, as the containment checks compare them.
static char *realpath(const char *path, char *resolved) {
    if (!_fullpath(resolved, path, PATH_MAX))
        return nullptr;
    for (char *c = resolved; *c; c++)
        if (*c == '\\')
            *c = '/';
    return resolved;
}
#define lstat stat
#define O_NONBLOCK 0
#define O_CLOEXEC O_BINARY
#define mkdir(path, mode) _mkdir(path)
#else
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef __EMSCRIPTEN__
#include "platform/web/web_storage.h"
#endif

std::string dataRoot;
std::string userDataRoot;
bool userDataReadOnly = false;

static std::string joinPath(const std::string &root, const std::string &relative) {
    if (root.empty())
        return relative;
    return root.back() == '/' ? root + relative : root + "/" + relative;
}

// The folder's real path with a closing slash, or "" when it does not exist.
static std::string realFolder(const std::string &folder) {
    char real[PATH_MAX];
    if (!realpath(folder.empty() ? "." : folder.c_str(), real))
        return "";
    std::string s = real;
    if (s.back() != '/')
        s += '/';
    return s;
}

// `path` as clean components inside `root`, or false when it climbs out of it
// or is absolute somewhere else. Back slashes are the game's own separators.
static bool relativeInside(const char *path, const std::string &root, std::string &out) {
    std::string p(path ? path : "");
    for (char &c : p)
        if (c == '\\')
            c = '/';
#ifdef _WIN32
    // "C:/..." is as absolute there as "/..." is.
    const bool absolute = p.size() > 2 && p[1] == ':' && p[2] == '/';
#else
    const bool absolute = false;
#endif
    if (!p.empty() && (p[0] == '/' || absolute)) {
        // An absolute path is taken only when it names something inside the root.
        std::string prefix = root;
        for (char &c : prefix)
            if (c == '\\')
                c = '/';
        if (!prefix.empty() && prefix.back() != '/')
            prefix += '/';
        if (prefix.empty() || p.compare(0, prefix.size(), prefix) != 0)
            return false;
        p.erase(0, prefix.size());
    }
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= p.size()) {
        size_t end = p.find('/', start);
        if (end == std::string::npos)
            end = p.size();
        const std::string part = p.substr(start, end - start);
        if (part == "..") {
            if (parts.empty())
                return false;
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    out.clear();
    for (const std::string &part : parts)
        out += (out.empty() ? "" : "/") + part;
    return !out.empty();
}

// Whether the real file behind `real` (or its folder, when it does not exist
// yet) lies inside `root`: a link may point anywhere within it, not out of it.
static bool staysInside(const std::string &real, const std::string &root) {
    const std::string inside = realFolder(root);
    char resolved[PATH_MAX];
    std::string target = real;
    if (!realpath(target.c_str(), resolved)) {
        const size_t slash = target.rfind('/');
        target = slash == std::string::npos ? "." : target.substr(0, slash);
        if (!realpath(target.c_str(), resolved))
            return true; // nothing there yet: nothing to follow out
        return (std::string(resolved) + "/").compare(0, inside.size(), inside) == 0;
    }
    return !inside.empty() && std::string(resolved).compare(0, inside.size(), inside) == 0;
}

enum Use { USE_READ, USE_WRITE };

static void refuse(const char *path, const std::string &real, const char *why) {
    fprintf(stderr, "wobblewick: refused %s (%s): %s; treated as missing\n", path ? path : "",
            real.c_str(), why);
}

// The real file a game path names: for reading the player's copy when there
// is one, else the shipped one; for writing the player's folder. Returns
// false (with one line on standard error) when the path may not be used.
static bool resolveGamePath(const char *path, Use use, std::string &real) {
    const bool ownFolder = !userDataRoot.empty();
    if (use == USE_WRITE && userDataReadOnly) {
        real = path ? path : "";
        errno = EROFS;
        return false;
    }
    std::vector<const std::string *> roots;
    if (ownFolder)
        roots.push_back(&userDataRoot);
    if (use == USE_READ || !ownFolder)
        roots.push_back(&dataRoot);
    const std::string *found = nullptr;
    for (const std::string *root : roots) {
        std::string relative;
        if (!relativeInside(path, *root, relative))
            continue;
        real = joinPath(*root, relative);
        found = root;
        struct stat st;
        if (lstat(real.c_str(), &st) == 0)
            break; // the player's copy hides the shipped one
    }
    if (!found) {
        real = path ? path : "";
        refuse(path, real, "outside the game's data");
        errno = EACCES;
        return false;
    }
    if (!staysInside(real, *found)) {
        refuse(path, real, "a link out of the game's data");
        errno = EACCES;
        return false;
    }
    return true;
}

// Opens a resolved file without ever blocking, and keeps it only when it is a
// regular file of a sane size.
static FILE *openChecked(const char *path, const std::string &real, bool update) {
    const int fd = open(real.c_str(), (update ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st;
    const char *why = nullptr;
    if (fstat(fd, &st) != 0)
        why = "cannot be examined";
    else if (!S_ISREG(st.st_mode))
        why = S_ISDIR(st.st_mode) ? "a folder, not a file" : "not a regular file";
    else if (st.st_size > MAX_DATA_FILE_BYTES)
        why = "larger than 16 MiB";
    if (why) {
        close(fd);
        refuse(path, real, why);
        errno = EINVAL;
        return nullptr;
    }
#ifndef _WIN32
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
#endif
    FILE *f = fdopen(fd, update ? "r+" : "r");
    if (!f)
        close(fd);
    return f;
}

FILE *openDataFile(const char *path, const char *mode) {
    // "rt" is the text mode of the original platform; here text and binary agree.
    // An update ("r+") touches the player's file, never a shipped one.
    const bool update = mode && strchr(mode, '+');
    std::string real;
    if (!resolveGamePath(path, update ? USE_WRITE : USE_READ, real))
        return nullptr;
    return openChecked(path, real, update);
}

FILE *openDataFileOrReport(const char *path, const char *mode) {
    errno = 0;
    FILE *f = openDataFile(path, mode);
    if (!f && errno != EINVAL && errno != EACCES)
        perror(dataPath(path).c_str());
    return f;
}

std::string dataPath(const char *path) {
    std::string real;
    if (!resolveGamePath(path, USE_READ, real))
        return "";
    // Only a regular file of a sane size is handed on (the sound host opens it).
    struct stat st;
    if (stat(real.c_str(), &st) == 0 &&
        (!S_ISREG(st.st_mode) || st.st_size > MAX_DATA_FILE_BYTES)) {
        refuse(path, real, S_ISREG(st.st_mode) ? "larger than 16 MiB" : "not a regular file");
        return "";
    }
    return real;
}

int replaceDataFile(const char *path, const void *data, size_t size) {
    std::string real;
    if (!resolveGamePath(path, USE_WRITE, real))
        return 0;
    // The player's folder may not have this subfolder yet.
    const size_t slash = real.rfind('/');
    if (slash != std::string::npos && !makeFolders(real.substr(0, slash)))
        return 0;
    return replaceFileAtomically(real.c_str(), data, size);
}

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

// The new file keeps the old one's permissions (a list shared by a group
// stays shared); a file that is new gets the usual ones.
static void keepMode(const char *path, FILE *f) {
#ifndef _WIN32
    struct stat old;
    if (stat(path, &old) == 0)
        fchmod(fileno(f), old.st_mode & 07777);
#else
    (void)path;
    (void)f;
#endif
}

int replaceFileAtomically(const char *path, const void *data, size_t size) {
    std::string temp = std::string(path) + ".part";
    FILE *f = fopen(temp.c_str(), "wb");
    if (!f)
        return 0;
    keepMode(path, f);
    bool ok = fwrite(data, 1, size, f) == size;
    ok = fflush(f) == 0 && ok;
    ok = flushToDisk(f) && ok;
    ok = fclose(f) == 0 && ok;
    if (!ok || !replaceWith(temp, path)) {
        const int reason = errno;
        remove(temp.c_str());
        errno = reason;
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

std::string executableFolder() {
    char buffer[PATH_MAX];
#ifdef _WIN32
    const long n = static_cast<long>(GetModuleFileNameA(nullptr, buffer, sizeof buffer));
    for (long i = 0; i < n; i++)
        if (buffer[i] == '\\')
            buffer[i] = '/';
#else
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
#endif
    if (n <= 0)
        return "";
    std::string path(buffer, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/'));
}

bool isRegularFile(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isDirectory(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool makeFolders(const std::string &path) {
    if (path.empty() || isDirectory(path))
        return true;
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !makeFolders(path.substr(0, slash)))
        return false;
    return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}
