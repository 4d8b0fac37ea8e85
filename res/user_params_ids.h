#pragma once
// The User Parameters dialog (IDD_USER_PARAMS).

// Homing
#define IDC_UP_AUTO_HOME              3110
#define IDC_UP_SCAN_DIRECTION         3111
#define IDC_UP_FIND_START_LIMIT       3112
#define IDC_UP_ZEROING_METHOD         3113
#define IDC_UP_STARTUP_ZEROING        3114
#define IDC_UP_ZERO_OFFSET            3115
#define IDC_UP_ZERO_OFFSET_CAPTION    3116
#define IDC_UP_ZERO_OFFSET_HERE       3117
#define IDC_UP_HOME_VELOCITY          3118
#define IDC_UP_HOME_VELOCITY_CAPTION  3119
#define IDC_UP_ZEROING_CAPTION        3120

// Software fence
#define IDC_UP_FENCE_ENABLED          3130
#define IDC_UP_FENCE_PLUS             3131
#define IDC_UP_FENCE_PLUS_CAPTION     3132
#define IDC_UP_FENCE_PLUS_HERE        3133
#define IDC_UP_FENCE_MINUS            3134
#define IDC_UP_FENCE_MINUS_CAPTION    3135
#define IDC_UP_FENCE_MINUS_HERE       3136

// Stepper drive
#define IDC_UP_STEPS                  3140
#define IDC_UP_STEPS_CAPTION          3141
#define IDC_UP_MICROSTEPS             3142
#define IDC_UP_MICROSTEPS_CAPTION     3143
#define IDC_UP_LEAD                   3144
#define IDC_UP_LEAD_CAPTION           3145

// Zoom and the rest
#define IDC_UP_ZOOM_BACKLASH          3150
#define IDC_UP_ZOOM_BACKLASH_CAPTION  3151
#define IDC_UP_ZOOM_POS_1             3152   // .. 3161 for positions 1..10
#define IDC_UP_ZOOM_POS_CAPTION_1     3162   // .. 3171
#define IDC_UP_HOME_START             3172
#define IDC_UP_HOME_START_CAPTION     3173
#define IDC_UP_ZOOM_AXIS              3174
#define IDC_UP_FLICK_DISABLED         3175
#define IDC_UP_LAMP_RS232             3176
#define IDC_UP_FLICK_DECEL            3177
#define IDC_UP_COUNTS_PER_360         3178
#define IDC_UP_COUNTS_PER_360_CAPTION 3179
#define IDC_UP_MEMORY_INITIALIZED     3180

#define IDC_UP_OK                     1
#define IDC_UP_APPLY                  3190
#define IDC_UP_TEST                   3191
