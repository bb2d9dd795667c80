// Input scripts: one event per line at a virtual time, the unit of every
// scenario test, replay and level proof.
//
//   <ms> down <key>      <ms> up <key>        <ms> tap <key> (up 20 ms later)
//   <ms> type <text>     <ms> move <col> <row> <ms> click <col> <row>
//   <ms> end             # comments run to the end of the line
//
// Keys are virtual-key names without their prefix (LEFT, RETURN, F5, A, 7)
// or a code such as 0x53.
#pragma once
#include "platform/host.h"
#include <cstdint>
#include <string>
#include <vector>

struct ScriptEvent {
    uint32_t time;
    enum Kind { KEY, MOUSE, END } kind;
    HostEvent event;
};

// Times are 32-bit milliseconds; the last one leaves room for a tap's key-up.
constexpr uint32_t MAX_SCRIPT_TIME = UINT32_MAX - 20;

// Parses a script. On a bad line returns false with "line N: reason" in error.
bool parseInputScript(const std::string &text, std::vector<ScriptEvent> &out, std::string &error);
bool loadInputScript(const char *path, std::vector<ScriptEvent> &out, std::string &error);
// The virtual-key code of a key name, or -1.
int virtualKeyFromName(const std::string &name);
// The character a key types without Shift, 0 when it types none.
char characterOfKey(int virtualKey);
