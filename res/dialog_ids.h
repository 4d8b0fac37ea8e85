#pragma once
// Dialog template numbers of every window of the program, in one place so
// that no two subsystems take the same number.

#define IDD_MAIN                 101
#define IDD_MULTI_AXIS_GOTO      102
#define IDD_JOYSTICK             104
#define IDD_TRACKBALL            106
#define IDD_TOUCH_PROBE          107
#define IDD_STATUS               108
#define IDD_MOTOR_SETUP          109
#define IDD_USER_PARAMS          110
#define IDD_ENCODER              111
#define IDD_ZOOM                 112
#define IDD_LAMP                 113
#define IDD_SW_FENCE             114
#define IDD_CALCULATOR           115
#define IDD_AUTO_HOME_PROGRESS   116
#define IDD_WATCH                117
#define IDD_GPIO                 118
#define IDD_SYSTEM               120
#define IDD_COPY_SETTINGS        123
#define IDD_POWER                125
#define IDD_CIRCULAR_GOTO        128
#define IDD_SCOPE                135
#define IDD_MOVE_RESPONSE        139

#define IDI_STAGETUNE            200

// Every window's periodic work runs on its timer 1.
#define IDT_TICK                 1
