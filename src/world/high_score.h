// The best score, kept in memory and in data/stats/highScores.txt.
#pragma once
#include "console/surface.h"
#include <cstdint>
#include <cstdio>

extern int32_t highScore;
extern FILE *highScoreFile;
// The two pages of the credits and high-score screen.
extern Surface *creditsPicture;
extern Surface *highScorePicture;

constexpr int32_t MIN_HIGH_SCORE = 2000;

// Set while a new best score cannot reach the file (it is missing, read-only,
// or the disk is full): the best score then lasts only until the program
// ends. `highScoreProblem` says why, for the high-score page.
extern int32_t highScoreUnsaved;
extern char highScoreProblem[160];

void loadHighScore();
void raiseHighScore();
void saveHighScore();
void loadEndPictures();
void closeHighScoreFile();
