// The frames both peers show: every .srf file of a folder (a session dumped
// with --frames), read in name order before anything is timed.
#pragma once
#include "console/surface.h"
#include <string>
#include <vector>

struct PeerFrame {
    int width = 0;
    int height = 0;
    std::vector<Cell> cells;
};

// The frames of `folder`; an empty list, with a message on standard error,
// when there are none or one cannot be read.
std::vector<PeerFrame> loadPeerFrames(const std::string &folder);

// Processor time of the whole process (every thread) so far, in milliseconds.
double processorMs();
