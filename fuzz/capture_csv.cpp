// The capture file reader with any text: it refuses or accepts without a
// crash, a refusal names a line of the text (or the one after its end), and
// what it accepts writes out to a file that reads back to the same capture,
// byte for byte when written again.
//
// Input: the file's text.
#include "core/capture_csv.h"
#include "fuzz/fuzz_support.h"

#include <algorithm>
#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const std::string_view text = in.Rest();
    const auto read = ReadCaptureCsv(text);
    if (const auto* error = std::get_if<CaptureCsvError>(&read)) {
        const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
        FUZZ_CHECK(error->line >= 1 && error->line <= lines + 2);
        return 0;
    }
    const std::string written = WriteCaptureCsv(std::get<ScopeCapture>(read));
    const auto again = ReadCaptureCsv(written);
    FUZZ_CHECK(std::holds_alternative<ScopeCapture>(again));
    FUZZ_CHECK(WriteCaptureCsv(std::get<ScopeCapture>(again)) == written);
    return 0;
}
