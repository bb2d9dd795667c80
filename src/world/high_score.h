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

void loadHighScore();
void raiseHighScore();
void saveHighScore();
void loadEndPictures();
void closeHighScoreFile();
