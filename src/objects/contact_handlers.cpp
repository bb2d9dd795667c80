#include "objects/contact_handlers.h"
#include "objects/kinds.h"

// Platform, Border and Dummy never move and have none.
ContactHandler contactHandlers[KIND_LAST + 1] = {};

void installContactHandlers() {
    contactHandlers[KIND_PLAYER] = playerContact;
    contactHandlers[KIND_BOX] = boxContact;
    contactHandlers[KIND_SOLDIER] = soldierContact;
    contactHandlers[KIND_DOLL] = soldierContact; // both only kill the player
    contactHandlers[KIND_KISS] = kissContact;
    contactHandlers[KIND_OZZLE] = ozzleContact;
    contactHandlers[KIND_NINJA] = ninjaContact;
    contactHandlers[KIND_NINJASTAR] = ninjaStarContact;
}
