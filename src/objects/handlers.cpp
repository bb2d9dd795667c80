#include "objects/contact_handlers.h"
#include "objects/kinds.h"

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
