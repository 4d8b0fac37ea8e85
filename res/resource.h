#pragma once
// Control, dialog and timer identifiers, one header per subsystem. The
// numbers are fixed: other programs of the family and the technicians' notes
// refer to them.
#include "dialog_ids.h"
#include "main_window_ids.h"
#include "motion_ids.h"
#include "status_ids.h"
#include "axis_radio_ids.h"
#include "motor_setup_ids.h"
#include "calculator_ids.h"
#include "system_ids.h"
#include "copy_settings_ids.h"
#include "trackball_ids.h"
#include "sw_fence_ids.h"
#include "lamp_ids.h"
#include "zoom_ids.h"
#include "homing_ids.h"
#include "gpio_ids.h"
#include "user_params_ids.h"
#include "encoder_ids.h"
#include "probe_ids.h"
#include "joystick_ids.h"
#include "compare_ids.h"
