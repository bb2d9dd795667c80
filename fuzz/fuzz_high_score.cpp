// Any bytes as the high-score file: reading it, raising and saving the score
// never crashes, the best score is never below the floor afterwards, and a
// new best lands at the start of the file (which is never shortened: what
// stood past the old number stays behind the new digits).
#include "platform/files.h"
#include "world/high_score.h"
#include "world/play_state.h"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

static std::string root;

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    char pattern[] = "/tmp/fuzz-score-XXXXXX";
    root = mkdtemp(pattern);
    mkdir((root + "/data").c_str(), 0700);
    mkdir((root + "/data/stats").c_str(), 0700);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    dataRoot = root;
    const std::string path = root + "/data/stats/highScores.txt";
    if (FILE *f = fopen(path.c_str(), "wb")) {
        fwrite(data, 1, size, f);
        fclose(f);
    }
    highScore = 0;
    loadHighScore();
    if (highScore < MIN_HIGH_SCORE)
        abort();
    const int32_t best = highScore;
    score = best < 2000000000 ? best + 1 : best;
    raiseHighScore();
    const bool written = highScoreFile != nullptr && score > best;
    closeHighScoreFile();
    if (written) {
        char start[16] = {};
        const std::string digits = std::to_string(score);
        FILE *f = fopen(path.c_str(), "rb");
        const size_t got = f ? fread(start, 1, digits.size(), f) : 0;
        if (f)
            fclose(f);
        if (got != digits.size() || digits != start)
            abort();
    }
    highScore = 0;
    loadHighScore();
    closeHighScoreFile();
    if (highScore < MIN_HIGH_SCORE)
        abort();
    score = 0;
    return 0;
}
