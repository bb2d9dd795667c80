// The animation library: twelve sets, one per object kind, each holding the
// one animation read from that kind's script.
#pragma once
#include "anim/animation.h"
#include "anim/containers.h"

constexpr int ANIMATION_SETS = 12;

// Sets in index order 0-11 (the pointers are the sets' lists of animations).
extern List *animationLibrary;

// Builds the library from scratch. A script that fails to load leaves its set
// empty; objects of that kind then have no frame (see lookupFrame).
void loadAnimationLibrary();
// Empties and frees the library; safe when it was never built.
void unloadAnimationLibrary();
void destroySet(void *set);
// The script read into each set ("Platform.anm" twice: set 9 is its own copy).
extern const char *const animationScripts[ANIMATION_SETS];
