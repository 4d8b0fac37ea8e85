#pragma once
// The per-axis controls of the Multi Axis Goto window, one row per axis: the
// tick writes its readouts by this table, the buttons read its fields.
#include "core/goto_sequence.h"
#include "res/resource.h"

struct GotoAxisControls {
    int axis;
    int position;
    int velocity;
    int lag;
    int maxLag;
    int moveStatus;
    int errorByte;
    int counterStatus;
    int velPercent;
    int target;
    int gotoButton;
    int zeroButton;
};

inline constexpr GotoAxisControls kGotoAxisControls[kGotoAxisCount] = {
    {0, IDC_MAG_POS_X, IDC_MAG_VEL_X, IDC_MAG_LAG_X, IDC_MAG_MAX_LAG_X, IDC_MAG_MOVE_STATUS_X, IDC_MAG_ERROR_X,
     IDC_MAG_COUNTER_X, IDC_MAG_VEL_PERCENT_X, IDC_MAG_TARGET_X, IDC_MAG_GOTO_X, IDC_MAG_ZERO_X},
    {1, IDC_MAG_POS_Y, IDC_MAG_VEL_Y, IDC_MAG_LAG_Y, IDC_MAG_MAX_LAG_Y, IDC_MAG_MOVE_STATUS_Y, IDC_MAG_ERROR_Y,
     IDC_MAG_COUNTER_Y, IDC_MAG_VEL_PERCENT_Y, IDC_MAG_TARGET_Y, IDC_MAG_GOTO_Y, IDC_MAG_ZERO_Y},
    {2, IDC_MAG_POS_Z, IDC_MAG_VEL_Z, IDC_MAG_LAG_Z, IDC_MAG_MAX_LAG_Z, IDC_MAG_MOVE_STATUS_Z, IDC_MAG_ERROR_Z,
     IDC_MAG_COUNTER_Z, IDC_MAG_VEL_PERCENT_Z, IDC_MAG_TARGET_Z, IDC_MAG_GOTO_Z, IDC_MAG_ZERO_Z},
    {3, IDC_MAG_POS_Q, IDC_MAG_VEL_Q, IDC_MAG_LAG_Q, IDC_MAG_MAX_LAG_Q, IDC_MAG_MOVE_STATUS_Q, IDC_MAG_ERROR_Q,
     IDC_MAG_COUNTER_Q, IDC_MAG_VEL_PERCENT_Q, IDC_MAG_TARGET_Q, IDC_MAG_GOTO_Q, IDC_MAG_ZERO_Q},
};
