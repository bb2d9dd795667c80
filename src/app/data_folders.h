// Where the shipped data and the player's own files are, chosen once at start-up.
#pragma once
#include <string>
#include <vector>

// The places searched for the shipped data, in order: --data=DIR (`given`),
// $WOBBLEWICK_DATA, beside the program (its folder and the one above, as in a
// build tree or an unpacked archive), <program>/../share/wobblewick and the
// installed data folder. Empty entries are left out.
std::vector<std::string> dataRootCandidates(const std::string &given);

// Sets `dataRoot` to the first candidate that holds the game's data. False
// with a message naming every place looked at when none does.
bool findDataRoot(const std::string &given, std::string &error);

// The player's folder: $XDG_DATA_HOME/wobblewick, else ~/.local/share/wobblewick;
// "" when there is no home.
std::string playerFolder();

// Makes the player's folder the place for the player's files, and copies the
// files the game expects to find there (high score, level list) on first start.
// A folder that cannot be made or written is reported once; the game then plays
// on with nothing saved.
void setUpPlayerFolder();
