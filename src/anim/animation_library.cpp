#include "anim/animation_library.h"
#include <cstdlib>

List *animationLibrary = nullptr;

const char *const animationScripts[ANIMATION_SETS] = {
    "Player.anm", "Box.anm",   "Soldier.anm", "Platform.anm", "Doll.anm",      "Kiss.anm",
    "Border.anm", "Ozzle.anm", "Ninja.anm",   "Platform.anm", "NinjaStar.anm", "Dummy.anm",
};

void destroySet(void *item) {
    List *set = static_cast<List *>(item);
    if (!set)
        return;
    listDestroyAll(set);
    free(set);
}

void loadAnimationLibrary() {
    unloadAnimationLibrary();
    animationLibrary = static_cast<List *>(calloc(1, sizeof(List)));
    if (!animationLibrary)
        return;
    listSetUp(animationLibrary, 5, 20, destroySet);
    for (int i = 0; i < ANIMATION_SETS; i++) {
        List *set = static_cast<List *>(calloc(1, sizeof(List)));
        if (!set)
            return;
        listSetUp(set, 5, 88, destroyAnimation);
        listAppend(animationLibrary, set);
    }
    for (int i = 0; i < ANIMATION_SETS; i++)
        loadAnimation(static_cast<List *>(animationLibrary->items[i]), animationScripts[i]);
}

void unloadAnimationLibrary() {
    if (!animationLibrary)
        return;
    listDestroyAll(animationLibrary);
    free(animationLibrary);
    animationLibrary = nullptr;
}
