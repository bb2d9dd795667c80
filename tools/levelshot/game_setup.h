// What the level tools share: the game's world set up in this process on a
// headless host, without the menus around it.
#pragma once
#include "platform/headless/headless_host.h"
#include <string>

// Points the game at the data root `root` (the folder that holds data/),
// puts a headless host with `script` in place, and loads the front end's
// pictures. Returns false with a reason when the script does not parse.
bool setUpGame(const std::string &root, const std::string &script, std::string &error);
// Writes the back buffer as a PNG, each cell's pixel `scale` times larger.
bool writeBackBufferPng(const std::string &path, int scale);
