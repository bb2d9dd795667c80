// The picture sources under art/ and the files they compile to: every
// art/<path>.txt becomes data/<path>.srf, except art/docs/<path>.txt, which
// becomes the picture docs/<path>.png.
#pragma once
#include <string>
#include <vector>

struct ArtItem {
    std::string source; // the picture source
    std::string target; // the file it compiles to
    bool png;           // a PNG for people to look at rather than game data
};

// Every picture source under `root`/art, in name order.
std::vector<ArtItem> listArt(const std::string &root);

// Compiles every source under `root`/art and compares it with the committed
// file it becomes. Returns one line per problem; empty when all agree.
std::vector<std::string> checkArt(const std::string &root);
