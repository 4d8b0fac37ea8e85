#pragma once
// The simulated board's flash user words through its control interface, so
// that a test sets up and inspects the flash record without driver calls in
// the call log. Pokes count as committed.
#include "core/flash_items.h"
#include "sim/board/axbsim.h"

struct SimFlashWords final : FlashWords {
    uint32_t Read(int index) override { return AxbSim_PeekFlashWord(index); }
    void Write(int index, uint32_t word) override { AxbSim_PokeFlashWord(index, word); }
};

inline void FillSimFlash(uint32_t word)
{
    for (int i = 0; i < 256; ++i)
        AxbSim_PokeFlashWord(i, word);
}

inline void WriteItemToSimFlash(int number, const FlashItemValue& value)
{
    SimFlashWords flash;
    const FlashItemType type = kFlashItemTable[FindFlashItem(number)].type;
    const uint32_t bits = FlashItemBits(type, value);
    if (type == FlashItemType::Byte)
        WriteFlashByte(flash, FlashItemOffset(number), static_cast<uint8_t>(bits));
    else
        WriteFlashWord32(flash, FlashItemOffset(number), bits);
}

inline uint32_t SimFlashItemBits(int number)
{
    SimFlashWords flash;
    return kFlashItemTable[FindFlashItem(number)].type == FlashItemType::Byte
               ? ReadFlashByte(flash, FlashItemOffset(number))
               : ReadFlashWord32(flash, FlashItemOffset(number));
}

inline FlashItemValue SimFlashItem(int number)
{
    return FlashItemFromBits(kFlashItemTable[FindFlashItem(number)].type, SimFlashItemBits(number));
}

// A board whose record was stored with the compiled-in defaults.
inline void WriteDefaultRecordToSimFlash()
{
    for (const FlashItem& item : kFlashItemTable)
        WriteItemToSimFlash(item.number, item.defaultValue);
}
