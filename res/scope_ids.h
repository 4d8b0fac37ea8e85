#pragma once
// IDD_SCOPE: the Scope window.

// One row per channel: axis (or "Off"), quantity, automatic scale, fixed
// lower and upper end.
#define IDC_SCOPE_AXIS_1         3310
#define IDC_SCOPE_QUANTITY_1     3311
#define IDC_SCOPE_AUTO_1         3312
#define IDC_SCOPE_LOW_1          3313
#define IDC_SCOPE_HIGH_1         3314
#define IDC_SCOPE_AXIS_2         3320
#define IDC_SCOPE_QUANTITY_2     3321
#define IDC_SCOPE_AUTO_2         3322
#define IDC_SCOPE_LOW_2          3323
#define IDC_SCOPE_HIGH_2         3324
#define IDC_SCOPE_AXIS_3         3330
#define IDC_SCOPE_QUANTITY_3     3331
#define IDC_SCOPE_AUTO_3         3332
#define IDC_SCOPE_LOW_3          3333
#define IDC_SCOPE_HIGH_3         3334
#define IDC_SCOPE_AXIS_4         3340
#define IDC_SCOPE_QUANTITY_4     3341
#define IDC_SCOPE_AUTO_4         3342
#define IDC_SCOPE_LOW_4          3343
#define IDC_SCOPE_HIGH_4         3344

#define IDC_SCOPE_MODE           3350
#define IDC_SCOPE_TRIGGER        3351
#define IDC_SCOPE_TRIGGER_AXIS   3352
#define IDC_SCOPE_THRESHOLD      3353
#define IDC_SCOPE_THRESHOLD_CAPTION 3354
#define IDC_SCOPE_LENGTH         3355
#define IDC_SCOPE_PRE_TRIGGER    3356

#define IDC_SCOPE_RUN            3360
#define IDC_SCOPE_STOP           3361
#define IDC_SCOPE_FIT            3362
#define IDC_SCOPE_SAVE           3363
#define IDC_SCOPE_LOAD           3364
#define IDC_SCOPE_OVERLAY        3365
#define IDC_SCOPE_NO_OVERLAY     3366
#define IDC_SCOPE_PICTURE        3367
#define IDC_SCOPE_EXIT           3368
#define IDC_SCOPE_STATE          3369

// The plot: a control of the Scope's own window class.
#define IDC_SCOPE_PLOT           3370
