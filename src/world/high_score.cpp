#include "world/high_score.h"
#include "console/surface_files.h"
#include "platform/host.h"
#include "world/play_state.h"
#include <cerrno>
#include <cstdlib>
#include <cstring>

int32_t highScore = 0;
FILE *highScoreFile = nullptr;
Surface *creditsPicture = nullptr;
Surface *highScorePicture = nullptr;
int32_t highScoreUnsaved = 0;
char highScoreProblem[160] = "";

static const char *const HIGH_SCORE_PATH = "data\\stats\\highScores.txt";

// The player hears of it once a run, on standard error; the high-score page
// says it whenever it holds.
static void noteUnsaved(int reason) {
    static bool told = false;
    highScoreUnsaved = 1;
    snprintf(highScoreProblem, sizeof highScoreProblem, "%s: %s", dataPath(HIGH_SCORE_PATH).c_str(),
             strerror(reason));
    if (!told)
        fprintf(stderr,
                "wobblewick: the high score cannot be saved (%s); the best score lasts only "
                "until the game ends\n",
                highScoreProblem);
    told = true;
}

// Writes the value over the start of the file and pushes it to the disk at
// once, so a crash right after a record keeps it. The file is never shortened.
static void writeHighScore() {
    if (!highScoreFile)
        return;
    rewind(highScoreFile);
    errno = 0;
    if (fprintf(highScoreFile, "%i", highScore) < 0 || fflush(highScoreFile) != 0) {
        noteUnsaved(errno ? errno : EIO);
        clearerr(highScoreFile);
        return;
    }
    syncStream(highScoreFile);
    highScoreUnsaved = 0;
}

// The number at the start of the file, read as "%i" reads it (a leading 0 is
// octal, 0x hexadecimal), but a value beyond 32 bits stops at the nearest end
// instead of wrapping. A file that does not begin with a number changes nothing.
static void readStoredScore(FILE *file, int32_t *value) {
    char text[128] = "";
    const size_t got = fread(text, 1, sizeof text - 1, file);
    text[got] = '\0';
    char *end = nullptr;
    const long long read = strtoll(text, &end, 0);
    if (end != text)
        *value = read > INT32_MAX   ? INT32_MAX
                 : read < INT32_MIN ? INT32_MIN
                                    : static_cast<int32_t>(read);
}

void closeHighScoreFile() {
    if (highScoreFile)
        fclose(highScoreFile);
    highScoreFile = nullptr;
}

void loadHighScore() {
    // A stream left open by an earlier game is closed first: the newest one
    // is the only one written to, so nothing is gained by keeping it.
    closeHighScoreFile();
    // "r+": the file must exist; the game never creates it.
    highScoreFile = openDataFile(HIGH_SCORE_PATH, "r+");
    if (highScoreFile) {
        highScoreUnsaved = 0;
        readStoredScore(highScoreFile, &highScore);
    } else {
        noteUnsaved(errno);
    }
    if (highScore < MIN_HIGH_SCORE) {
        highScore = MIN_HIGH_SCORE;
        writeHighScore();
    }
}

void saveHighScore() {
    highScore = score;
    writeHighScore();
}

void raiseHighScore() {
    if (score > highScore)
        saveHighScore();
}

void loadEndPictures() {
    loadHighScore();
    freeSurface(creditsPicture);
    freeSurface(highScorePicture);
    creditsPicture = loadSurfaceFile("data\\surfaces\\Credits.srf");
    highScorePicture = loadSurfaceFile("data\\surfaces\\Highscore.srf");
}
