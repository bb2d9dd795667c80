#include "objects/contact_handlers.h"

// The kinds' own handlers are put in by their modules; Platform, Border and
// Dummy never move and never get one.
ContactHandler contactHandlers[KIND_LAST + 1] = {};
