// The two short scenes played over the menu picture: the box figure walking
// off to start a game, and the farewell on the way out of the program.
#include "console/surface_files.h"
#include "frontend/menu.h"
#include "sound/sound.h"
#include <string>

namespace {

constexpr uint32_t FRAME_WAIT_MS = 30;
// The ninja and the star come in from just past the right edge.
constexpr int16_t NINJA_START_X = SCREEN_WIDTH;
constexpr int16_t NINJA_Y = 27;
constexpr int16_t STAR_START_X = SCREEN_WIDTH;
constexpr int16_t STAR_Y = 41;
// Far enough left that the figure has gone: the walk ends here.
constexpr int16_t OFF_LEFT_X = -60;
// The start-game ninja stops where the figure stood, the farewell ninja
// beside the sleeping figure, the star just before it.
constexpr int16_t NINJA_STOP_START = 35;
constexpr int16_t NINJA_STOP_FAREWELL = 84;
constexpr int16_t STAR_STOP_X = 83;
constexpr float MUSIC_FADE_STEP = 0.15f;

// Loads the named pictures of data\surfaces\Menu\ in order; a missing one
// is reported and stays null (drawn as nothing).
void loadScene(Surface **pictures, const char *const *names, int count) {
    for (int i = 0; i < count; i++)
        pictures[i] = loadSurfaceFile((std::string("data\\surfaces\\Menu\\") + names[i]).c_str());
}

void freeScene(Surface **pictures, int count) {
    for (int i = 0; i < count; i++) {
        freeSurface(pictures[i]);
        pictures[i] = nullptr;
    }
}

const char *const walkNames[4] = {"PimnBox1.srf", "PimnBox2.srf", "PimnBox3.srf", "PimnBox2.srf"};
const char *const ninjaNames[4] = {"Ninja1.srf", "Ninja2.srf", "Ninja3.srf", "Ninja4.srf"};
const char *const starNames[2] = {"star1.srf", "star2.srf"};
const char *const farewellNames[7] = {"PimnBox2.srf", "PimnBox4.srf", "PimnBox5.srf",
                                      "PimnBox6.srf", "PimnBox7.srf", "PimnBox8.srf",
                                      "PimnBox9.srf"};

// Presents what the back buffer holds and waits; 1 when a key cut it short.
int showAndWait(uint32_t ms) {
    presentScreen();
    return waitOrKey(ms);
}

// The ninja stops, looks, strikes its pose and looks again over the menu
// picture (and the figure, when there is one). 1 when a key ended it.
int ninjaPose(Surface **ninja, int16_t x, const Surface *figure, uint32_t lastWait) {
    const uint32_t waits[3] = {300, 800, lastWait};
    const int poses[3] = {2, 3, 2};
    for (int i = 0; i < 3; i++) {
        if (i > 0)
            clearScreen();
        blitSurface(menuPicture, 0, 0);
        blitSurface(figure, BOX_FIGURE_X, BOX_FIGURE_Y);
        blitSurface(ninja[poses[i]], x, NINJA_Y);
        if (showAndWait(waits[i]))
            return 1;
    }
    return 0;
}

void startGameScene(Surface **walk, Surface **ninja) {
    int16_t figureX = BOX_FIGURE_X, ninjaX = NINJA_START_X;
    int walkStep = 0, ninjaStep = 0;
    bool posed = false;
    uint32_t stamp = timeGetTime();
    for (;;) {
        clearScreen();
        const uint32_t now = timeGetTime();
        if (figureX > OFF_LEFT_X) {
            // Two columns a frame on steps 0 and 2; steps 1 and 3 stand.
            if (walkStep % 2 == 0)
                figureX -= 2;
            if (now - stamp > 200) {
                walkStep = (walkStep + 1) % 4;
                if (!soundOff)
                    playSound(SOUND_SHUFFLE);
                stamp = now;
            }
        } else {
            if (ninjaX > NINJA_STOP_START) {
                ninjaX -= 2;
            } else if (ninjaX <= OFF_LEFT_X) {
                return;
            } else {
                if (!posed) {
                    posed = true;
                    if (ninjaPose(ninja, ninjaX, nullptr, 300))
                        return;
                }
                ninjaX -= 2;
            }
            if (now - stamp > 300) {
                ninjaStep ^= 1;
                stamp = now;
            }
        }
        blitSurface(menuPicture, 0, 0);
        blitSurface(walk[walkStep], figureX, BOX_FIGURE_Y);
        blitSurface(ninja[ninjaStep], ninjaX, NINJA_Y);
        if (showAndWait(FRAME_WAIT_MS))
            return;
    }
}

void farewellScene(Surface **stars, Surface **figure, Surface **ninja) {
    int16_t ninjaX = NINJA_START_X, starX = STAR_START_X;
    int starStep = 0, ninjaStep = 0;
    uint32_t starStamp = timeGetTime(), ninjaStamp = starStamp;

    // The star flies in from the right and comes to rest.
    for (;;) {
        clearScreen();
        if (starX <= STAR_STOP_X)
            break;
        starX -= 2;
        const uint32_t now = timeGetTime();
        if (now - starStamp > 100) {
            starStep ^= 1;
            starStamp = now;
        }
        if (now - ninjaStamp > 300) {
            ninjaStep ^= 1;
            ninjaStamp = now;
        }
        blitSurface(menuPicture, 0, 0);
        blitSurface(figure[0], BOX_FIGURE_X, BOX_FIGURE_Y);
        blitSurface(ninja[ninjaStep], ninjaX, NINJA_Y);
        blitSurface(stars[starStep], starX, STAR_Y);
        if (showAndWait(FRAME_WAIT_MS))
            return;
    }

    // The figure puts its box down and settles on it while the music fades.
    for (int i = 0; i < 7; i++) {
        const float volume = soundGroupVolume(SOUND_GROUP_BGM);
        if (volume > 0)
            setSoundGroupVolume(SOUND_GROUP_BGM, volume - MUSIC_FADE_STEP);
        blitSurface(menuPicture, 0, 0);
        blitSurface(figure[i], BOX_FIGURE_X, BOX_FIGURE_Y);
        if (i == 0)
            blitSurface(stars[starStep], starX, STAR_Y);
        if (i == 5 && !soundOff)
            playSound(SOUND_LOSE);
        if (showAndWait(i == 0 ? 400 : 220))
            return;
    }

    // The ninja walks in; a key only hurries it to its pose.
    Surface *walking = ninja[ninjaStep];
    do {
        ninjaX -= 2;
        blitSurface(menuPicture, 0, 0);
        blitSurface(figure[6], BOX_FIGURE_X, BOX_FIGURE_Y);
        blitSurface(walking, ninjaX, NINJA_Y);
        if (showAndWait(FRAME_WAIT_MS))
            break;
    } while (ninjaX > NINJA_STOP_FAREWELL);

    ninjaPose(ninja, ninjaX, figure[6], 1200);
}

} // namespace

void Menu_StartGameInterlude() {
    Surface *walk[4], *ninja[4];
    loadScene(walk, walkNames, 4);
    loadScene(ninja, ninjaNames, 4);
    startGameScene(walk, ninja);
    freeScene(walk, 4);
    freeScene(ninja, 4);
}

void Menu_FarewellInterlude() {
    Surface *stars[2], *figure[7], *ninja[4];
    loadScene(stars, starNames, 2);
    loadScene(figure, farewellNames, 7);
    loadScene(ninja, ninjaNames, 4);
    farewellScene(stars, figure, ninja);
    freeScene(stars, 2);
    freeScene(figure, 7);
    freeScene(ninja, 4);
    // Nothing plays after the farewell: the program is on its way out.
    shutdownSound();
}
