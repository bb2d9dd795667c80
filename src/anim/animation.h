// Animation scripts (.anm): one animation per file, every frame a picture with
// its collision data, and the three turned copies of every frame.
#pragma once
#include "anim/containers.h"
#include "console/surface.h"
#include <cstdint>

struct FrameInfo {
    int32_t collisionGroup; // the group other objects test against
    List collidesWith;      // single bytes 0-9: the groups this frame tests against
    int16_t width;
    int16_t height;
};

struct Frame {
    Surface *picture;
    FrameInfo *info;
};

// Orientation 0 as drawn, then one, two and three quarter turns clockwise.
constexpr int ORIENTATIONS = 4;

struct Animation {
    int32_t spare;      // the header's fourth number; kept, never used
    int32_t frameCount; // always the number of frames in each orientation list
    List frames[ORIENTATIONS];
};

// Scripts larger than this are refused: nothing in the game is wider than the
// 85-cell room, and the limits keep a broken header from asking for gigabytes.
constexpr int ANIM_MAX_SIDE = 100;
constexpr int ANIM_MAX_FRAMES = 64;

// Reads "data\surfaces\" + name and appends the animation to `set`. Returns 1,
// or 0 (and appends nothing) when the file does not open or its header is
// unusable.
int loadAnimation(List *set, const char *name);
// The quarter-turned (clockwise) copy of a frame, with its own picture and info.
Frame *rotateFrame(const Frame *frame);
// Fills orientation lists 1-3 from list 0.
void buildRotations(Animation *animation);

void destroyFrame(void *frame);
void destroyAnimation(void *animation);
