#include "sim/turrets/olympus_box.h"

std::string OlympusAnswer(std::string_view command, BoxMode mode)
{
    if (command.ends_with('\r'))
        command.remove_suffix(1);
    if (command != "OB?")
        return {};
    if (mode == BoxMode::Answer)
        return "OB\r\n";
    if (mode == BoxMode::Error)
        return "OB!\r\n";
    return {};
}
