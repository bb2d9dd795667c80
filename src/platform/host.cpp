#include "platform/host.h"

Host *host = nullptr;
void (*hostCloseRequested)() = nullptr;
