// The content sources under content/ and the files they compile to:
//   content/art/<path>.txt         -> data/<path>.srf
//   content/art/docs/<path>.txt    -> docs/<path>.png (a picture for people)
//   content/animations/<name>.anim -> data/surfaces/<name>.anm
//   content/levels/*.level         -> data/levels/<name>.lvl and <name>.rot
//   content/scores/<kind>/<name>.score -> data/<kind>/<name>.ogg
#pragma once
#include <string>
#include <vector>

struct ContentReport {
    int sources = 0;                   // sources looked at
    std::vector<std::string> problems; // one line each; empty when all agree
};

// Compiles every source under `root`/content and compares it with the
// committed file it becomes, byte for byte where the game reads it. Only the
// existence of the docs' PNG pictures and of the music is checked: drawing and
// rendering them again is left to make content.
ContentReport checkContent(const std::string &root);
