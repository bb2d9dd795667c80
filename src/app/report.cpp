#include "app/report.h"
#include "app/states.h"
#include "console/surface.h"
#include "platform/host.h"
#include <cstdio>

uint32_t programStartClock;

std::string exitReport(int exitCode) {
    const uint32_t ms = host ? host->now() - programStartClock : 0;
    char text[256];
    snprintf(text, sizeof text, "{\"exitCode\":%d,\"state\":%d,\"frames\":%llu,\"virtualMs\":%u}",
             exitCode, screenState.current, static_cast<unsigned long long>(framesPresented), ms);
    return text;
}
