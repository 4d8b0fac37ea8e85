#pragma once
// The Encoder dialog (IDD_ENCODER).

#define IDC_ENC_SIGNAL_TYPE           3210
#define IDC_ENC_SIGNAL_CAPTION        3211
#define IDC_ENC_INTERPOLATION         3212
#define IDC_ENC_INTERPOLATION_CAPTION 3213
#define IDC_ENC_RESOLUTION            3214
#define IDC_ENC_RESOLUTION_CAPTION    3215
#define IDC_ENC_INCREMENT             3216
#define IDC_ENC_INCREMENT_CAPTION     3217
#define IDC_ENC_PITCH                 3218
#define IDC_ENC_PITCH_CAPTION         3219

#define IDC_ENC_COUNT_REVERSE         3220
#define IDC_ENC_TTL_INVERTED          3221
#define IDC_ENC_ACU_RITE              3222
#define IDC_ENC_REF_LOGGING           3223
#define IDC_ENC_ANALOG_INVERTED       3224

// Read-only parameter rows
#define IDC_ENC_ROW_COUNTS            3230
#define IDC_ENC_ROW_COUNTS_CAPTION    3231
#define IDC_ENC_ROW_CONFIG            3232
#define IDC_ENC_ROW_CONFIG_CAPTION    3233
#define IDC_ENC_ROW_DIRECTION         3234
#define IDC_ENC_ROW_DIRECTION_CAPTION 3235
#define IDC_ENC_ROW_TTL               3236
#define IDC_ENC_ROW_TTL_CAPTION       3237

#define IDC_ENC_EXIT                  1
