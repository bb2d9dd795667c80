#include "peer_frames.h"
#include "console/surface_files.h"
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>

std::vector<PeerFrame> loadPeerFrames(const std::string &folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto &entry : fs::directory_iterator(folder, error))
        if (entry.path().extension() == ".srf")
            paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    if (paths.empty()) {
        fprintf(stderr, "peer: no .srf frames in %s\n", folder.c_str());
        return {};
    }
    std::vector<PeerFrame> frames;
    for (const std::string &path : paths) {
        Surface *surface = nullptr;
        FILE *stream = fopen(path.c_str(), "rb");
        if (!stream || !loadSurface(stream, &surface) || !surface || !surface->cells) {
            fprintf(stderr, "peer: cannot read the frame %s\n", path.c_str());
            freeSurface(surface);
            return {};
        }
        PeerFrame frame;
        frame.width = surface->width;
        frame.height = surface->height;
        frame.cells.assign(surface->cells, surface->cells + frame.width * frame.height);
        frames.push_back(std::move(frame));
        freeSurface(surface);
    }
    return frames;
}

double processorMs() {
    return static_cast<double>(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
}
