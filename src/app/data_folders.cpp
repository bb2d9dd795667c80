#include "app/data_folders.h"
#include "platform/files.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <wobble_version.h>

// A folder holds the game's data when its pictures are there.
static bool holdsGameData(const std::string &root) {
    return isRegularFile(root + "/data/surfaces/Menu/Menu.srf");
}

std::vector<std::string> dataRootCandidates(const std::string &given) {
    std::vector<std::string> places;
    if (!given.empty())
        return {given};
    if (const char *env = getenv("WOBBLEWICK_DATA"); env && *env)
        places.push_back(env);
    const std::string beside = executableFolder();
    if (!beside.empty()) {
        places.push_back(beside);
        places.push_back(beside + "/..");
        places.push_back(beside + "/../share/wobblewick");
    }
    places.push_back(WOBBLE_INSTALL_DATADIR);
    return places;
}

bool findDataRoot(const std::string &given, std::string &error) {
    const std::vector<std::string> places = dataRootCandidates(given);
    // A folder named on the command line is taken as it is: level authors and
    // tests give roots that are incomplete on purpose.
    if (!given.empty()) {
        if (isDirectory(given)) {
            dataRoot = given;
            return true;
        }
        error = "--data=" + given + ": no such folder";
        return false;
    }
    for (const std::string &place : places)
        if (holdsGameData(place)) {
            dataRoot = place;
            return true;
        }
    error = "the game's data (data/surfaces/Menu/Menu.srf) is in none of:";
    for (const std::string &place : places)
        error += " " + place;
    error += "; give its folder with --data=DIR or WOBBLEWICK_DATA";
    return false;
}

std::string playerFolder() {
    // Relative XDG folders are to be ignored, as the freedesktop rules say.
    if (const char *xdg = getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
        return std::string(xdg) + "/wobblewick";
    if (const char *home = getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share/wobblewick";
    return "";
}

// The files the game must find in the player's folder, taken from the shipped
// data the first time. The level list names the shipped levels, which are then
// read from the shipped data; levels the editor saves join them.
static const char *const FIRST_START_FILES[] = {"data/stats/highScores.txt",
                                                "data/levels/Levels.txt"};

static void copyShipped(const char *path, bool &ok) {
    FILE *in = openDataFile(path, "rb"); // the player's copy when there is one
    if (!in || isRegularFile(userDataRoot + "/" + path)) {
        if (in)
            fclose(in);
        return;
    }
    std::string bytes;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, in)) > 0)
        bytes.append(chunk, n);
    fclose(in);
    if (ok && !replaceDataFile(path, bytes.data(), bytes.size()))
        ok = false;
}

void setUpPlayerFolder() {
    const std::string folder = playerFolder();
    bool ok = !folder.empty() && makeFolders(folder + "/data/levels") &&
              makeFolders(folder + "/data/stats");
    if (ok) {
        userDataRoot = folder;
        for (const char *path : FIRST_START_FILES)
            copyShipped(path, ok);
    }
    if (ok)
        return;
    const int reason = errno;
    if (folder.empty())
        fprintf(stderr, "wobblewick: no home folder (neither HOME nor XDG_DATA_HOME is set)");
    else
        fprintf(stderr, "wobblewick: cannot keep your files in %s (%s)", folder.c_str(),
                strerror(reason));
    fprintf(stderr, "; the high score and saved levels last only until the game ends\n");
    userDataReadOnly = true;
    if (!isDirectory(folder))
        userDataRoot.clear();
}
