#include "core/capture_csv.h"
#include "report/report_parts.h"
#include "scope/response_run.h"
#include "scope/scope_acquisition.h"

#include <cstdio>
#include <deque>
#include <string>

namespace {

// Numbered by their place among every capture completed since the start, so
// that a capture keeps its name from one report to the next even after the
// oldest have gone.
void AddNumbered(ReportContext& report, std::string_view folder, const char* prefix,
                 const std::deque<ScopeCapture>& captures, uint64_t completed)
{
    uint64_t number = completed - captures.size();
    for (const ScopeCapture& capture : captures) {
        char name[40];
        std::snprintf(name, sizeof name, "%s-%03llu.csv", prefix, static_cast<unsigned long long>(++number));
        report.zip.Add(std::string(folder) + name, WriteCaptureCsv(capture));
    }
}

} // namespace

void AddCaptures(ReportContext& report, std::string_view folder)
{
    AddNumbered(report, folder, "scope", ScopeCapturesSinceStart(), ScopeCapturesCompleted());
    AddNumbered(report, folder, "response", MoveResponseCapturesSinceStart(), MoveResponseRunsCompleted());
}
