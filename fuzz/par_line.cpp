// The .par reader on any bytes, and what they load written back to a file
// and read again.
//
// Input: the bytes of a file. Every line is parsed in both item forms; what
// the file's own form loads (parameters from 0, items from their defaults)
// is then written in either "UserOutputFormat" and must read back bit for
// bit. The version lines take the input's first bytes as their numbers.
#include "core/par_format.h"
#include "fuzz/fuzz_support.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

struct Loaded {
    uint32_t params[kParamCount] = {};
    FlashItemValues items = [] {
        FlashItemValues values;
        for (int i = 0; i < kFlashItemCount; ++i)
            values[i] = kFlashItemTable[i].defaultValue;
        return values;
    }();
};

bool IsByteItem(const ParLineResult& r)
{
    return r.kind == ParLineKind::Item && kFlashItemTable[r.itemIndex].type == FlashItemType::Byte;
}

uint32_t ItemBits(int index, const FlashItemValue& value)
{
    return FlashItemBits(kFlashItemTable[index].type, value);
}

// What the result says is what its kind promises.
void CheckResult(const ParLineResult& r)
{
    const bool isParam = r.number >= 0 && r.number < kParamCount;
    switch (r.kind) {
    case ParLineKind::Param:
        FUZZ_CHECK(isParam && r.log.empty());
        break;
    case ParLineKind::Item:
        FUZZ_CHECK(r.itemIndex >= 0 && r.itemIndex < kFlashItemCount && r.log.empty());
        FUZZ_CHECK(kFlashItemTable[r.itemIndex].number == r.number);
        break;
    case ParLineKind::NotValid:
        FUZZ_CHECK(r.log.starts_with("Not a valid line:") && r.log.ends_with("\n"));
        break;
    case ParLineKind::ItemNotFound:
        FUZZ_CHECK(r.number >= kFlashItemFirstNumber && FindFlashItem(r.number) < 0);
        FUZZ_CHECK(r.log.starts_with("Error could not find param"));
        break;
    case ParLineKind::BadNumber:
        FUZZ_CHECK(!isParam && r.number < kFlashItemFirstNumber);
        FUZZ_CHECK(r.log == "Error param is " + std::to_string(r.number) + "\n");
        break;
    }
}

// Only a byte item reads differently in the two forms.
void CheckFormsAgree(const ParLineResult& decimal, const ParLineResult& bytes)
{
    if (IsByteItem(decimal) || IsByteItem(bytes))
        return;
    FUZZ_CHECK(decimal.kind == bytes.kind && decimal.number == bytes.number && decimal.log == bytes.log);
    FUZZ_CHECK(decimal.paramValue == bytes.paramValue);
    if (decimal.kind == ParLineKind::Item)
        FUZZ_CHECK(ItemBits(decimal.itemIndex, decimal.itemValue) == ItemBits(bytes.itemIndex, bytes.itemValue));
}

void Apply(const ParLineResult& r, Loaded& loaded)
{
    if (r.kind == ParLineKind::Param)
        loaded.params[r.number] = r.paramValue;
    else if (r.kind == ParLineKind::Item)
        loaded.items[r.itemIndex] = r.itemValue;
}

// Reads a file as "Load From File" does.
ParItemForm Load(const std::string& content, Loaded& loaded, bool checked)
{
    std::istringstream in(content);
    const ParItemForm form = DetectParItemForm(in);
    in.clear();
    in.seekg(0);
    ParLineReader reader(in);
    for (ParLine line; reader.Next(line);) {
        FUZZ_CHECK(line.text.find('\n') == std::string::npos);
        FUZZ_CHECK(line.overLong == (line.text.size() > static_cast<size_t>(kParLineMaxChars)));
        FUZZ_CHECK(line.text.size() <= static_cast<size_t>(kParLineMaxChars) + 1);
        const ParLineResult r = ParseParLine(line, form);
        if (checked) {
            const ParLineResult decimal = ParseParLine(line, ParItemForm::Decimal);
            const ParLineResult bytes = ParseParLine(line, ParItemForm::FourBytes);
            CheckResult(decimal);
            CheckResult(bytes);
            CheckFormsAgree(decimal, bytes);
        }
        Apply(r, loaded);
    }
    return form;
}

// A finite float as a decimal file holds it after one save: "%g" keeps six
// digits, and from then on the value is written and read unchanged.
float AsSavedInDecimal(float value)
{
    if (!std::isfinite(value))
        return value;
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return std::strtof(text, nullptr);
}

void CheckRoundTrip(const BoardVersions& versions, const Loaded& loaded, int userOutputFormat)
{
    Loaded written = loaded;
    if (userOutputFormat != kParItemsAsBytes) {
        for (int i = 0; i < kFlashItemCount; ++i)
            if (kFlashItemTable[i].type == FlashItemType::Float)
                written.items[i].floatValue = AsSavedInDecimal(written.items[i].floatValue);
    }
    const std::string content = FormatParFile(versions, written.params, written.items, userOutputFormat);
    // Every value must come back, so the reading starts from values that
    // differ from the written ones in every bit.
    Loaded read;
    for (int n = 0; n < kParamCount; ++n)
        read.params[n] = ~written.params[n];
    for (int i = 0; i < kFlashItemCount; ++i)
        read.items[i] = FlashItemFromBits(kFlashItemTable[i].type, ~ItemBits(i, written.items[i]));

    const ParItemForm form = Load(content, read, false);
    FUZZ_CHECK(form == (userOutputFormat == kParItemsAsBytes ? ParItemForm::FourBytes : ParItemForm::Decimal));
    for (int n = 0; n < kParamCount; ++n)
        FUZZ_CHECK(read.params[n] == written.params[n]);
    for (int i = 0; i < kFlashItemCount; ++i) {
        if (ItemBits(i, read.items[i]) != ItemBits(i, written.items[i]))
            std::fprintf(stderr, "P%d written as %08X read back as %08X\n", kFlashItemTable[i].number,
                         ItemBits(i, written.items[i]), ItemBits(i, read.items[i]));
        FUZZ_CHECK(ItemBits(i, read.items[i]) == ItemBits(i, written.items[i]));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string content(reinterpret_cast<const char*>(data), size);
    Loaded loaded;
    Load(content, loaded, true);

    FuzzInput in(data, size);
    const auto versions = in.Take<BoardVersions>();
    for (int userOutputFormat : {0, kParItemsAsBytes})
        CheckRoundTrip(versions, loaded, userOutputFormat);
    return 0;
}
