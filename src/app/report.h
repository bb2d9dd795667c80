// The one-line JSON report printed as the last line of standard output.
#pragma once
#include <cstdint>
#include <string>

// The host clock when the program started; the report counts from it.
extern uint32_t programStartClock;

std::string exitReport(int exitCode);
