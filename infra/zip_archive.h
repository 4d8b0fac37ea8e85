#pragma once
// A zip file built in memory: one local header and deflated data per entry,
// then the central directory. Names are UTF-8 (flag bit 11), times are DOS
// times of the moment given, CRC-32 and raw deflate come from zlib. No
// zip64: an archive that would pass 4 GiB or 65535 entries is refused.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct DosTime {
    uint16_t time = 0;   // hours << 11 | minutes << 5 | seconds / 2
    uint16_t date = 0;   // (year - 1980) << 9 | month << 5 | day
};

DosTime ToDosTime(int year, int month, int day, int hour, int minute, int second);

class ZipArchive {
public:
    explicit ZipArchive(DosTime stamp) : stamp_(stamp) {}

    // False, and the archive unchanged, when the entry cannot be added
    // (deflate failed, a size beyond the format, an empty or too long name).
    bool Add(std::string_view utf8Name, std::string_view content);
    // The complete file: the entries and their central directory.
    std::string Finish() const;
    size_t Entries() const { return entries_.size(); }

private:
    struct Entry {
        std::string name;
        uint32_t crc;
        uint32_t compressedSize;
        uint32_t size;
        uint32_t offset;
    };

    void PutEntryFields(std::string& out, const Entry& entry) const;

    DosTime stamp_;
    std::string data_;
    std::vector<Entry> entries_;
};
