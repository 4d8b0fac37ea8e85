#pragma once
// The ".par" parameter file: five version lines, the 512 parameters as
// "P%03d %d" and the 62 flash items as "P%d ..." lines. Writing produces the
// whole file content; reading splits a byte stream into lines and turns one
// line into an assignment or a log text. Nothing here touches the board or
// the log: the caller sends the values and writes the texts.
#include <cstdint>
#include <iosfwd>
#include <string>

#include "core/flash_items.h"
#include "core/param_table.h"
#include "core/version_text.h"

// ---------------------------------------------------------------------------
// Writing

// The file is a Windows text file: every line ends with CR LF whatever the
// platform, so the content is written in binary mode as it is.
inline constexpr char kParLineEnd[] = "\r\n";

// "UserOutputFormat" 1 writes byte items as "%02X" and 32-bit and float
// items as their four bytes "XX,XX,XX,XX", most significant first; any other
// value writes them in decimal ("%g" for floats), except a float that is NaN
// or infinite, which keeps its four bytes there too.
inline constexpr int kParItemsAsBytes = 1;

void AppendParHeader(std::string& out, const BoardVersions& versions);
void AppendParParamLines(std::string& out, const uint32_t (&params)[kParamCount]);
void AppendParItemLines(std::string& out, const FlashItemValues& items, int userOutputFormat);

std::string FormatParFile(const BoardVersions& versions, const uint32_t (&params)[kParamCount],
                          const FlashItemValues& items, int userOutputFormat);

// ---------------------------------------------------------------------------
// Reading

// The reader's line buffer: a line and its line end must fit with a
// terminator, so a line has at most 526 characters before its line end.
inline constexpr int kParLineBufferChars = 528;
inline constexpr int kParLineMaxChars = kParLineBufferChars - 2;

struct ParLine {
    std::string text;        // without the line end (LF, or CR LF)
    bool overLong = false;   // text holds only the first kParLineMaxChars + 1 characters
};

// Splits a byte stream into lines. Only lines that end with a line feed are
// returned: a last line without one is dropped. An over-long line is
// returned once, marked, and its remainder is skipped up to its line end.
class ParLineReader {
public:
    explicit ParLineReader(std::istream& in) : in(in) {}
    // False at the end of the stream.
    bool Next(ParLine& line);

private:
    std::istream& in;
};

enum class ParLineKind {
    Param,          // number 0..511, paramValue
    Item,           // itemIndex into kFlashItemTable, itemValue
    NotValid,       // "Not a valid line:"
    ItemNotFound,   // number from 1000 up that is no item
    BadNumber,      // 512..999 or negative, -1 when none parsed
};

struct ParLineResult {
    ParLineKind kind = ParLineKind::NotValid;
    int number = -1;
    uint32_t paramValue = 0;
    int itemIndex = -1;
    FlashItemValue itemValue;
    std::string log;   // the text to log; empty for Param and Item
};

// How a file writes its 32-bit and float items, and so how its byte items
// read: "UserOutputFormat" 1 writes all of them as four bytes and the bytes
// as "%02X". A digit-only byte ("32") reads either way, so the form is
// decided for the whole file, never line by line.
enum class ParItemForm {
    Decimal,
    FourBytes,
};

// FourBytes when the file has 32-bit or float item lines and every one of
// them is in the four-byte form. Reads the stream to its end.
ParItemForm DetectParItemForm(std::istream& in);

// A line is "P" or "p", the number with the digits the writer gives it
// (three for a parameter, four for an item), one blank and the value, with
// nothing but blanks after it. Parameter and 32-bit values are signed
// decimal or "0x" hexadecimal; float items take a floating-point number;
// byte items 0..255, hexadecimal in a FourBytes file. 32-bit and float items
// also accept the four-byte form. Anything else, a value out of range
// included, makes the line not valid.
ParLineResult ParseParLine(const ParLine& line, ParItemForm form);
