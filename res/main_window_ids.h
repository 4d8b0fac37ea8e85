#pragma once
// The main window (IDD_MAIN): its controls.

// Main window: "Exit" is the dialog's default button.
#define IDC_EXIT                 1

// Axis and unit selection
#define IDC_UNIT_MM              1250
#define IDC_UNIT_IN              1252
#define IDC_UNIT_STORED          1253
#define IDC_DISPLAY_PARAM_NUMBER 1301

// Parameter fields (edit) and their captions
#define IDC_PARAM_P              1010
#define IDC_PARAM_D              1011
#define IDC_PARAM_I              1012
#define IDC_PARAM_I_LIMIT        1013
#define IDC_PARAM_PWM_BASE       1014
#define IDC_PARAM_CONT_ZONE      1015
#define IDC_PARAM_CUTOFF_DELAY   1041
#define IDC_PARAM_TARGET_WINDOW  1045
#define IDC_PARAM_VEL            1048
#define IDC_PARAM_ACC            1051
#define IDC_PARAM_JERK           1053
#define IDC_PARAM_MOTION_MONITOR 1057
#define IDC_PARAM_FOLLOW_LIMIT   1062
#define IDC_PARAM_PV_NOMINAL     1080
#define IDC_PARAM_PWM_OFFSET     1087
#define IDC_PARAM_TORQUE         1092
#define IDC_PARAM_MOTOR_LAG      1722
#define IDC_PARAM_HOLD_TORQUE    1097
#define IDC_PARAM_JOY_VEL        1144
#define IDC_PARAM_TRACKBALL_VEL  1147
#define IDC_PARAM_ACC_DELTA      1155
#define IDC_PARAM_D_LIMIT        1280

#define IDC_CAPTION_P              1254
#define IDC_CAPTION_D              1255
#define IDC_CAPTION_I              1256
#define IDC_CAPTION_I_LIMIT        1257
#define IDC_CAPTION_PWM_BASE       1258
#define IDC_CAPTION_CONT_ZONE      1259
#define IDC_CAPTION_CUTOFF_DELAY   1264
#define IDC_CAPTION_TARGET_WINDOW  1266
#define IDC_CAPTION_VEL            1268
#define IDC_CAPTION_ACC            1270
#define IDC_CAPTION_JERK           1272
#define IDC_CAPTION_MOTION_MONITOR 1276
#define IDC_CAPTION_FOLLOW_LIMIT   1278
#define IDC_CAPTION_PV_NOMINAL     1289
#define IDC_CAPTION_PWM_OFFSET     1290
#define IDC_CAPTION_TORQUE         1291
#define IDC_CAPTION_MOTOR_LAG      1723
#define IDC_CAPTION_HOLD_TORQUE    1292
#define IDC_CAPTION_JOY_VEL        1294
#define IDC_CAPTION_TRACKBALL_VEL  1296
#define IDC_CAPTION_ACC_DELTA      1297
#define IDC_CAPTION_D_LIMIT        1298

// Readouts (read-only edits) and their captions
#define IDC_READOUT_X            1100
#define IDC_READOUT_Y            1112
#define IDC_READOUT_Z            1117
#define IDC_READOUT_Q            1122
#define IDC_READOUT_ZOOM         1128
#define IDC_POSITION             1107
#define IDC_FOLLOWING_ERROR      1133
#define IDC_VELOCITY             1157
#define IDC_MAX_FOLLOWING        1241
#define IDC_LABEL_POSITION       1482
#define IDC_LABEL_FOLLOWING      1479
#define IDC_LABEL_VELOCITY       1476
#define IDC_LABEL_MAX_FOLLOWING  1472
#define IDC_LABEL_TARGET         1468

// Motion inputs and buttons
#define IDC_TARGET               1137
#define IDC_VEL_PERCENT          1215
#define IDC_GOTO                 1148
#define IDC_CONT_GOTO            1177
#define IDC_HOME                 1184
#define IDC_CONT_HOME            1179
#define IDC_STOP                 1150

// Zero buttons
#define IDC_ZERO_X               1159
#define IDC_ZERO_Y               1161
#define IDC_ZERO_Z               1163
#define IDC_ZERO_Q               1165
#define IDC_ZERO_ZOOM            1167

// Version captions
#define IDC_VER_FIRMWARE         1005
#define IDC_VER_HARDWARE         1006
#define IDC_VER_FPGA             1007
#define IDC_VER_SERIAL           1008
#define IDC_VER_DLL              1016
#define IDC_VER_OE               1020

// Files, flash, board
#define IDC_LOAD_FILE            1171
#define IDC_SAVE_FILE            1029
#define IDC_SAVE_FLASH           1034
#define IDC_DEL_NEW_FLASH        1036
#define IDC_RESET                1275
#define IDC_CLEAR_COUNT          1284
#define IDC_REREAD               1027
#define IDC_APPLY                1009

// Buttons that open the other windows
#define IDC_STATUS               1208
#define IDC_ENCODER              1169
#define IDC_MOTOR                1223
#define IDC_COPY_SETTINGS        1263
#define IDC_TOUCH_PROBE          1667
#define IDC_JOYSTICK             1173
#define IDC_TRACKBALL            1192
#define IDC_SYSTEM               1175
#define IDC_SW_FENCE             1237
#define IDC_USER_PARAM           1231
#define IDC_CALC                 1450
#define IDC_LAMP                 1234
#define IDC_ZOOM                 1227
#define IDC_GPIO                 1288
#define IDC_MULTI_AXIS_GOTO      1104
#define IDC_CIRCULAR_GOTO        1105
#define IDC_AUTO_HOME            1246
#define IDC_VIDEO                1260
#define IDC_SCOPE                3300
#define IDC_COMPARE              2401
#define IDC_RESPONSE             3700

// The Board group's flash line; a click opens Compare.
#define IDC_FLASH_STATE          2400

// A command the program posts to itself (no control): the read-speed test.
#define IDM_READ_SPEED_TEST      9999
