#pragma once
// What each turret kind's file offers the table of kinds.
#include <cstdint>

struct TurretKindRow {
    int kind;
    void (*setUp)();   // on first use, later calls find it done; none: nothing to set up
    void (*goTo)(int8_t n);
    void (*poll)();    // none: the kind sees no move end
    void (*reset)();
};

void SetUpRevolver();
void RevolverGoto(int8_t n);
void RevolverPoll();
void ResetRevolver();

void SetUpOlympusBox();
void OlympusBoxGoto(int8_t n);
void ResetOlympusBox();

void NikonGoto(int8_t n);
void NikonPoll();
void ResetNikon();

void SetUpOlympusPins();
void OlympusPinsGoto(int8_t n);
void OlympusPinsPoll();
void ResetOlympusPins();

// The moves of types 3 and 4 give up 5000 ms after they began: a new move
// (or a new target) starts the clock, the steps towards it do not.
void StartTurretMoveClock();
// Logs the timeout and answers true once the move took too long.
bool TurretMoveTimedOut();
