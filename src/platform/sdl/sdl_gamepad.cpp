// Game controllers in the game's terms: each button and direction holds one
// or two virtual keys, so play, menus, the pause screen and dialogs answer
// to a pad exactly as they answer to the keyboard.
#include "platform/sdl/sdl_host.h"
#include <vector>

namespace {

// The south button jumps (Up) and confirms (Enter); west and east make, lift
// and drop a box (Space); a shoulder turns the room (S); Start pauses (P);
// Back leaves a screen as Esc does.
struct ButtonKeys {
    SDL_GameControllerButton button;
    int keys[2];
};
constexpr ButtonKeys buttonKeys[] = {
    {SDL_CONTROLLER_BUTTON_A, {VK_UP, VK_RETURN}},
    {SDL_CONTROLLER_BUTTON_X, {VK_SPACE, 0}},
    {SDL_CONTROLLER_BUTTON_B, {VK_SPACE, 0}},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, {'S', 0}},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, {'S', 0}},
    {SDL_CONTROLLER_BUTTON_START, {'P', 0}},
    {SDL_CONTROLLER_BUTTON_BACK, {VK_ESCAPE, 0}},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, {VK_LEFT, 0}},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, {VK_RIGHT, 0}},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, {VK_UP, 0}},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, {VK_DOWN, 0}},
};
// The stick walks once it is pushed past about 40 % of its travel.
constexpr Sint16 STICK_WALK = 13000;

std::vector<SDL_GameController *> pads;

void queuePadKey(int vk, bool down) {
    HostEvent event = {};
    event.type = HOST_EVENT_KEY;
    event.key.keyDown = down ? 1 : 0;
    event.key.repeatCount = 1;
    event.key.virtualKeyCode = static_cast<uint16_t>(vk);
    // Only the keys a dialog reads as characters type one.
    event.key.asciiChar = vk == VK_RETURN ? '\r' : vk == VK_ESCAPE ? 27 : vk == VK_SPACE ? ' ' : 0;
    sdlQueueEvent(event);
}

// Works out which keys the pads hold now and sends the changes as key events.
void refreshPadKeys() {
    uint8_t held[256] = {};
    for (SDL_GameController *pad : pads) {
        for (const ButtonKeys &b : buttonKeys)
            if (SDL_GameControllerGetButton(pad, b.button))
                for (int vk : b.keys)
                    if (vk)
                        held[vk] = 1;
        const Sint16 x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
        if (x <= -STICK_WALK)
            held[VK_LEFT] = 1;
        if (x >= STICK_WALK)
            held[VK_RIGHT] = 1;
    }
    for (int vk = 0; vk < 256; vk++)
        if (held[vk] != sdl.padKeys[vk]) {
            sdl.padKeys[vk] = held[vk];
            queuePadKey(vk, held[vk]);
        }
}

void openPad(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex))
        return;
    SDL_GameController *pad = SDL_GameControllerOpen(deviceIndex);
    if (!pad)
        return;
    for (SDL_GameController *known : pads)
        if (known == pad) {
            SDL_GameControllerClose(pad); // opened twice: keep the one reference
            return;
        }
    pads.push_back(pad);
}

void closePad(SDL_JoystickID id) {
    for (size_t i = 0; i < pads.size(); i++)
        if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pads[i])) == id) {
            SDL_GameControllerClose(pads[i]);
            pads.erase(pads.begin() + static_cast<long>(i));
            return;
        }
}

} // namespace

void sdlOpenGamepads() {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        return; // no controller support: the keyboard still plays
    // Pads already plugged in announce themselves with "added" events too.
    SDL_GameControllerEventState(SDL_ENABLE);
}

void sdlCloseGamepads() {
    for (SDL_GameController *pad : pads)
        SDL_GameControllerClose(pad);
    pads.clear();
}

bool sdlGamepadEvent(const SDL_Event &e) {
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED:
        openPad(e.cdevice.which);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        // A pad pulled out lets go of everything it held.
        closePad(e.cdevice.which);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
        break;
    default:
        return false;
    }
    refreshPadKeys();
    return true;
}
