// The record of every object kind. Each begins with the same header: the
// object's box in cells (x2 = x + width, y2 = y + height of its current frame)
// and the reference to the frame it shows; the rest is the kind's own state.
#pragma once
#include <cstdint>

enum ObjectKind : int32_t {
    KIND_PLAYER = 1,
    KIND_BOX = 2,
    KIND_SOLDIER = 3,
    KIND_PLATFORM = 4,
    KIND_DOLL = 5,
    KIND_KISS = 6,
    KIND_BORDER = 7,
    KIND_OZZLE = 8,
    KIND_NINJA = 9,
    KIND_NINJASTAR = 10,
    KIND_DUMMY = 11,
};
constexpr int32_t KIND_FIRST = KIND_PLAYER;
constexpr int32_t KIND_LAST = KIND_DUMMY;

// Which animation set each kind shows (set 9 is a spare copy of the platform).
enum AnimationSet : int32_t {
    SET_PLAYER = 0,
    SET_BOX = 1,
    SET_SOLDIER = 2,
    SET_PLATFORM = 3,
    SET_DOLL = 4,
    SET_KISS = 5,
    SET_BORDER = 6,
    SET_OZZLE = 7,
    SET_NINJA = 8,
    SET_SPARE_PLATFORM = 9,
    SET_NINJASTAR = 10,
    SET_DUMMY = 11,
};

struct AnimRef {
    int32_t set;
    int32_t anim;
    int32_t frame;
    int32_t rotation; // 0-3 quarter turns clockwise
};

struct ObjectBox {
    float x, y, x2, y2;
};

struct ObjectHeader : ObjectBox {
    AnimRef anim;
};

struct BoxRecord;

// Frames of the player's animation.
enum PlayerFrame : int32_t {
    PLAYER_RIGHT = 0,
    PLAYER_LEFT = 1,
    PLAYER_WALK_RIGHT = 2,
    PLAYER_WALK_LEFT = 3,
    PLAYER_STUNNED_RIGHT_A = 4,
    PLAYER_STUNNED_RIGHT_B = 5,
    PLAYER_STUNNED_LEFT_A = 6,
    PLAYER_STUNNED_LEFT_B = 7,
    PLAYER_DYING = 8,
};

// Frames of the Soldier's animation.
enum SoldierFrame : int32_t {
    SOLDIER_RIGHT = 0,
    SOLDIER_LEFT = 1,
};

// Frames of the boss's animation.
enum OzzleFrame : int32_t {
    OZZLE_WALKING = 0,
    OZZLE_JUMPING = 1,
};

struct PlayerRecord : ObjectHeader {
    float vx, vy;
    int32_t gravity;
    int32_t facing;     // 1 right, 0 left
    int32_t onGround;   // something held the player up during the last move
    int32_t stunTimer;  // updates left stunned
    int32_t deathTimer; // updates left dying; keeps falling below 0 afterwards
    int32_t carrying;
    // The held box; only looked at while `carrying` is set. Freeing the box
    // ends the carry (see the object list).
    float *carriedVx;
    float *carriedVy;
    BoxRecord *carriedBox;
    int32_t carrySide;   // 1 the box is on the right, 0 on the left
    uint32_t carryCount; // updates of free control spent carrying
};

struct BoxRecord : ObjectHeader {
    float vx, vy;
    int32_t gravity;
};

struct SoldierRecord : ObjectHeader {
    ObjectBox snapshot; // where it stood at the last look, to tell when it is stuck
    float vx, vy;
    int32_t gravity;
    int32_t direction; // 1 right, 0 left
    int32_t crushed;
    uint32_t snapshotCounter;
};

struct PlatformRecord : ObjectHeader {};

struct DollRecord : ObjectHeader {
    float vx, vy;
    int32_t gravity;
    int32_t direction;
    int32_t crushed;
    uint32_t lastThrowTime; // game clock
};

struct KissRecord : ObjectHeader {
    float vx, vy;
    int32_t life; // updates left
};

// The frame's rotation says which edge of the room the wall is.
struct BorderRecord : ObjectHeader {};

struct OzzleRecord : ObjectHeader {
    float vx, vy;
    int32_t gravity;
    int32_t charging;
    uint32_t countdown; // updates left before the jump
    int32_t direction;
    int32_t landed;
    int32_t landedBefore;
    int32_t hitPoints;
    int32_t hitFlag; // while set, falling boxes do not hurt it
};

struct NinjaRecord : ObjectHeader {
    float vx, vy;
    int32_t gravity;
    uint32_t lastThrowTime;
    int32_t direction;
    int32_t crushed;
};

struct NinjaStarRecord : ObjectHeader {
    float vx, vy;
};

struct DummyRecord : ObjectHeader {
    int32_t crushed;
};

// Starting values of the kinds' own fields.
constexpr int32_t KISS_LIFE = 50;
constexpr int32_t OZZLE_HIT_POINTS = 4;
