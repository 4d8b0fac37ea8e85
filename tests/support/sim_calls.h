#pragma once
// The simulated board's log of driver calls, as lines like
// "AXB_SetParam(0,22,219)=1".
#include <string>
#include <vector>

std::vector<std::string> SimCalls();
// The calls whose text starts with the prefix, e.g. "AXB_SetParam(0,22,".
std::vector<std::string> SimCallsStartingWith(const std::string& prefix);
