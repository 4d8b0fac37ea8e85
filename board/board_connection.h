#pragma once
// Opening the board at start-up and closing it.
#include <cstdint>
#include <optional>

#include "core/version_text.h"

struct ConnectedBoard {
    BoardVersions versions;
    uint8_t oe = 0;
};

// Opens the board (five attempts, 200 ms apart), logs its versions and
// takes its firmware generation into the session; the versions when the
// board is open.
std::optional<ConnectedBoard> ConnectBoard();

// AXB_CloseDrv with its log line.
void CloseBoardDriver();
