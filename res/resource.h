#pragma once
// Control, dialog and timer identifiers, one header per subsystem. The
// numbers are fixed: other programs of the family and the technicians' notes
// refer to them.
#include "dialog_ids.h"
#include "main_window_ids.h"
#include "status_ids.h"
#include "homing_ids.h"
#include "user_params_ids.h"
#include "encoder_ids.h"
