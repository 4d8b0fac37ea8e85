// Item values into flash words and back: every item reads back with the
// bits it was written with, and no byte that is not the item's changes.
//
// Input: 64 uint32 flash words as the board holds them, then writes of one
// item each (uint8 item index, taken modulo the item count; uint32 bits,
// of which a byte item keeps the low byte).
#include "core/flash_items.h"
#include "fuzz/fuzz_support.h"

#include <array>

namespace {

constexpr int kWords = 64;
constexpr int kUserFirstByte = 4 * kFlashUserFirstWord;

using Words = std::array<uint32_t, kWords>;

struct Flash final : FlashWords {
    uint32_t Read(int index) override { return words.at(static_cast<size_t>(index)); }
    void Write(int index, uint32_t word) override { words.at(static_cast<size_t>(index)) = word; }

    Words words{};
};

uint8_t ByteOf(const Words& words, int b) { return static_cast<uint8_t>(words[b / 4] >> (8 * (b % 4))); }

void SetByte(Words& words, int b, uint8_t value)
{
    const int shift = 8 * (b % 4);
    words[b / 4] = (words[b / 4] & ~(uint32_t{0xFF} << shift)) | uint32_t{value} << shift;
}

int ItemSize(int index) { return kFlashItemTable[index].type == FlashItemType::Byte ? 1 : 4; }

int FirstByte(int index) { return kUserFirstByte + FlashItemOffset(kFlashItemTable[index].number); }

// The item's bits as its bytes lie in flash, least significant first.
uint32_t BitsAt(const Words& words, int index)
{
    uint32_t bits = 0;
    for (int k = ItemSize(index) - 1; k >= 0; --k)
        bits = bits << 8 | ByteOf(words, FirstByte(index) + k);
    return bits;
}

uint32_t Bits(int index, const FlashItemValue& value) { return FlashItemBits(kFlashItemTable[index].type, value); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    Flash flash;
    for (uint32_t& word : flash.words)
        word = in.Take<uint32_t>();
    // What every word must hold.
    Words expected = flash.words;

    ResetFlashItems();
    while (!in.Rest().empty()) {
        const int index = in.Take<uint8_t>() % kFlashItemCount;
        const uint32_t bits = in.Take<uint32_t>();
        const FlashItemValue value = FlashItemFromBits(kFlashItemTable[index].type, bits);
        SetFlashItem(flash, index, value);
        for (int k = 0; k < ItemSize(index); ++k)
            SetByte(expected, FirstByte(index) + k, static_cast<uint8_t>(bits >> (8 * k)));
        FUZZ_CHECK(flash.words == expected);
        ReadFlashItem(flash, index);
        FUZZ_CHECK(Bits(index, g_flashItemValues[index]) == Bits(index, value));
    }

    ReadAllFlashItems(flash);
    for (int i = 0; i < kFlashItemCount; ++i)
        FUZZ_CHECK(Bits(i, g_flashItemValues[i]) == BitsAt(expected, i));
    FUZZ_CHECK(FlashMarkerValid(flash) == (ByteOf(expected, kUserFirstByte) == kFlashMarker));
    // Writing back what was read changes nothing.
    WriteAllFlashItems(flash);
    FUZZ_CHECK(flash.words == expected);
    // The record carries every bit it unpacks.
    FlashItemValues repacked = g_flashItemValues;
    PackItemValues(UnpackItemValues(g_flashItemValues), repacked);
    for (int i = 0; i < kFlashItemCount; ++i)
        FUZZ_CHECK(Bits(i, repacked[i]) == Bits(i, g_flashItemValues[i]));
    return 0;
}
