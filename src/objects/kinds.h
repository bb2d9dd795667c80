// The per-update behaviour of every object kind, run by the play frame in a
// fixed order, and their contact handlers.
#pragma once
#include "world/object_list.h"

// Puts every kind's contact handler in the table the collision step calls.
void installContactHandlers();

void updatePlayer(float dt);
void updateBoxes(float dt);
void updateSoldiers(float dt);
void updateDolls(float dt);
void updateKisses(float dt);
void updateOzzles(float dt);
// The first object id the boss's update of this pass may have made, or
// INT32_MAX outside it: a minion made from a box first moves in the next
// update (see updateNinjas).
extern int32_t firstMinionId;
void updateNinjas(float dt);
void updateNinjaStars(float dt);

// Contact handlers: `self` is about to be pushed (dx, dy) out of `other`.
void playerContact(ObjectNode *self, ObjectNode *other, float dx, float dy);
void boxContact(ObjectNode *self, ObjectNode *other, float dx, float dy);
void soldierContact(ObjectNode *self, ObjectNode *other, float dx, float dy);
void ninjaContact(ObjectNode *self, ObjectNode *other, float dx, float dy);
void kissContact(ObjectNode *self, ObjectNode *other, float dx, float dy);
void ninjaStarContact(ObjectNode *self, ObjectNode *other, float dx, float dy);
void ozzleContact(ObjectNode *self, ObjectNode *other, float dx, float dy);

void killPlayer();
// True while the player is dying and for its first 20 updates of free control.
bool playerSettling();
// A box landed on the boss.
void ozzleHit(ObjectNode *ozzle);

// Points for crushing each kind with a box.
constexpr int32_t POINTS_DUMMY = 200;
constexpr int32_t POINTS_SOLDIER = 500;
constexpr int32_t POINTS_DOLL = 750;
constexpr int32_t POINTS_NINJA = 900;
// The boss of this level (counted from 0) ends the game when it falls.
constexpr int32_t FINAL_LEVEL_INDEX = 20;
