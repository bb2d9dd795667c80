#include "frontend/screen_state.h"

int32_t soundOff;
int32_t skipMenu;
int32_t skipSplash;
