#pragma once
// The service report.

#define IDC_SERVICE_REPORT       2701
