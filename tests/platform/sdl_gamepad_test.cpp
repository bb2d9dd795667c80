// A game controller in the window host, played with SDL's virtual joystick
// on its display-less driver: what each button and the stick hold, the key
// events menus and dialogs read, and a pad plugged in and pulled out mid-game.
#ifdef WOBBLE_HAVE_SDL
#include "platform/hosts.h"
#include "platform/sdl/sdl_host.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct VirtualPad {
    int index = -1;
    SDL_Joystick *joystick = nullptr;
    VirtualPad() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "test pad";
        index = SDL_JoystickAttachVirtualEx(&desc);
        joystick = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
    }
    void unplug() {
        if (!joystick)
            return;
        SDL_JoystickClose(joystick);
        joystick = nullptr;
        SDL_JoystickDetachVirtual(index);
    }
    ~VirtualPad() { unplug(); }
    void button(SDL_GameControllerButton b, bool down) {
        SDL_JoystickSetVirtualButton(joystick, b, down ? 1 : 0);
    }
};

// The key events the host has for the game, as "+vk" and "-vk". The host asks
// the display for events at most once a millisecond, so a moment passes first.
std::vector<std::string> keyEvents(Host *h) {
    SDL_Delay(2);
    std::vector<std::string> out;
    HostEvent e;
    while (h->pendingEvents() > 0 && h->readEvents(&e, 1) == 1)
        if (e.type == HOST_EVENT_KEY)
            out.push_back((e.key.keyDown ? "+" : "-") + std::to_string(e.key.virtualKeyCode));
    return out;
}

Host *windowHost() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // The display-less window never has the focus, which SDL otherwise
    // wants before it passes on a pad's buttons.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
    std::string error;
    return createSdlHost(error);
}

} // namespace

TEST(SdlGamepad, ButtonsAndStickHoldTheGamesKeysAndAPadPulledOutLetsGo) {
    Host *h = windowHost();
    if (!h)
        GTEST_SKIP() << "no SDL video driver";
    keyEvents(h);
    VirtualPad pad;
    ASSERT_NE(pad.joystick, nullptr) << SDL_GetError();
    keyEvents(h); // plugged in while the game runs

    // South jumps and confirms; west and east make a box; a shoulder turns;
    // Start pauses; Back is Esc.
    const struct {
        SDL_GameControllerButton button;
        std::vector<int> keys;
    } mapping[] = {
        {SDL_CONTROLLER_BUTTON_A, {0x0D, 0x26}},   {SDL_CONTROLLER_BUTTON_X, {0x20}},
        {SDL_CONTROLLER_BUTTON_B, {0x20}},         {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, {'S'}},
        {SDL_CONTROLLER_BUTTON_START, {'P'}},      {SDL_CONTROLLER_BUTTON_BACK, {0x1B}},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, {0x25}}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, {0x27}},
    };
    for (const auto &m : mapping) {
        SCOPED_TRACE(SDL_GameControllerGetStringForButton(m.button));
        pad.button(m.button, true);
        std::vector<std::string> down, up;
        for (int vk : m.keys) {
            down.push_back("+" + std::to_string(vk));
            up.push_back("-" + std::to_string(vk));
        }
        EXPECT_EQ(keyEvents(h), down);
        for (int vk : m.keys)
            EXPECT_EQ(h->keyDown(vk), 1);
        pad.button(m.button, false);
        EXPECT_EQ(keyEvents(h), up);
        for (int vk : m.keys)
            EXPECT_EQ(h->keyDown(vk), 0);
    }

    // The stick walks once pushed well over; a light touch does nothing.
    SDL_JoystickSetVirtualAxis(pad.joystick, SDL_CONTROLLER_AXIS_LEFTX, -6000);
    EXPECT_TRUE(keyEvents(h).empty());
    EXPECT_EQ(h->keyDown(0x25), 0);
    SDL_JoystickSetVirtualAxis(pad.joystick, SDL_CONTROLLER_AXIS_LEFTX, -30000);
    EXPECT_EQ(keyEvents(h), std::vector<std::string>{"+37"});
    EXPECT_EQ(h->keyDown(0x25), 1);

    // Pulled out while walking and holding Space: both keys go up at once.
    pad.button(SDL_CONTROLLER_BUTTON_X, true);
    keyEvents(h);
    pad.unplug();
    std::vector<std::string> after = keyEvents(h);
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, (std::vector<std::string>{"-32", "-37"}));
    EXPECT_EQ(h->keyDown(0x25), 0);
    EXPECT_EQ(h->keyDown(0x20), 0);

    // A second pad plugged in later plays too.
    VirtualPad again;
    keyEvents(h);
    again.button(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_EQ(keyEvents(h), std::vector<std::string>{"+80"});
    h->shutdown();
}
#endif
