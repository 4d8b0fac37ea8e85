#include "tests/support/sim_calls.h"

#include "sim/board/axbsim.h"

#include <sstream>

std::vector<std::string> SimCalls()
{
    std::string text(AxbSim_GetCallLog(nullptr, 0) + 1, '\0');
    text.resize(AxbSim_GetCallLog(text.data(), text.size()));
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> SimCallsStartingWith(const std::string& prefix)
{
    std::vector<std::string> matching;
    for (const std::string& call : SimCalls())
        if (call.rfind(prefix, 0) == 0)
            matching.push_back(call);
    return matching;
}
