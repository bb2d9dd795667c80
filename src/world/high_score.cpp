#include "world/high_score.h"
#include "platform/host.h"
#include "console/surface_files.h"
#include "world/play_state.h"

int32_t highScore = 0;
FILE *highScoreFile = nullptr;
Surface *creditsPicture = nullptr;
Surface *highScorePicture = nullptr;

static const char *const HIGH_SCORE_PATH = "data\\stats\\highScores.txt";

// Writes the value over the start of the file and pushes it to the disk at
// once, so a crash right after a record keeps it. The file is never shortened.
static void writeHighScore() {
    if (!highScoreFile)
        return;
    rewind(highScoreFile);
    fprintf(highScoreFile, "%i", highScore);
    syncStream(highScoreFile);
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
        int value = highScore;
        if (fscanf(highScoreFile, "%i", &value) == 1)
            highScore = value;
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
