#include "core/capture_csv.h"
#include "report/report_parts.h"
#include "scope/scope_acquisition.h"

#include <cstdio>
#include <string>

// Numbered by their place among every capture completed since the start, so
// that a capture keeps its name from one report to the next even after the
// oldest have gone.
void AddCaptures(ReportContext& report, std::string_view folder)
{
    const std::deque<ScopeCapture>& captures = ScopeCapturesSinceStart();
    uint64_t number = ScopeCapturesCompleted() - captures.size();
    for (const ScopeCapture& capture : captures) {
        char name[32];
        std::snprintf(name, sizeof name, "scope-%03llu.csv", static_cast<unsigned long long>(++number));
        report.zip.Add(std::string(folder) + name, WriteCaptureCsv(capture));
    }
}
