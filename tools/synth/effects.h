// The shared echo and room, and the limiter that keeps peaks under the ceiling.
#pragma once
#include <vector>

// Ping-pong echo of a mono send into two channels (one for mono pieces).
void addEcho(const std::vector<float> &send, int delayFrames, double feedback, double damp,
             std::vector<float> &left, std::vector<float> &right);
// A room of eight combs and four all-passes per side.
void addRoom(const std::vector<float> &send, double size, double damp, int rate,
             std::vector<float> &left, std::vector<float> &right);
// Lowers the gain smoothly wherever a peak would pass `ceiling`. With `circular`
// the end of the piece looks ahead into its start, as it does when it loops.
void limit(std::vector<float> &interleaved, int channels, int rate, double ceiling, bool circular);
