#include "infra/zip_archive.h"

#include <zlib.h>

#include <limits>

namespace {

constexpr uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr uint32_t kCentralHeaderSignature = 0x02014B50;
constexpr uint32_t kEndSignature = 0x06054B50;
constexpr uint16_t kVersionNeeded = 20;       // 2.0: deflate
constexpr uint16_t kFlagUtf8Names = 1u << 11;
constexpr uint16_t kMethodDeflate = 8;
constexpr uint32_t kMaxSize = std::numeric_limits<uint32_t>::max();
constexpr size_t kMaxEntries = std::numeric_limits<uint16_t>::max();
constexpr size_t kMaxName = std::numeric_limits<uint16_t>::max();
// Raw deflate (no zlib wrapper), as zip stores it.
constexpr int kRawDeflateWindowBits = -15;
constexpr int kMemoryLevel = 8;

void Put16(std::string& out, uint16_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

void Put32(std::string& out, uint32_t value)
{
    Put16(out, static_cast<uint16_t>(value & 0xFFFF));
    Put16(out, static_cast<uint16_t>(value >> 16));
}

bool Deflate(std::string_view content, std::string& out)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kRawDeflateWindowBits, kMemoryLevel,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    out.resize(deflateBound(&stream, static_cast<uLong>(content.size())));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
    stream.avail_in = static_cast<uInt>(content.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const bool done = deflate(&stream, Z_FINISH) == Z_STREAM_END;
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return done;
}

} // namespace

DosTime ToDosTime(int year, int month, int day, int hour, int minute, int second)
{
    // DOS dates begin in 1980; an earlier clock gives the first day.
    if (year < 1980)
        return {0, 1u << 5 | 1u};
    return {static_cast<uint16_t>(hour << 11 | minute << 5 | second / 2),
            static_cast<uint16_t>((year - 1980) << 9 | month << 5 | day)};
}

bool ZipArchive::Add(std::string_view utf8Name, std::string_view content)
{
    if (utf8Name.empty() || utf8Name.size() > kMaxName || entries_.size() >= kMaxEntries || content.size() > kMaxSize)
        return false;
    std::string compressed;
    if (!Deflate(content, compressed))
        return false;
    const size_t headerSize = 30 + utf8Name.size();
    if (data_.size() + headerSize + compressed.size() > kMaxSize)
        return false;

    const Entry entry{std::string(utf8Name),
                      static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(content.data()),
                                                  static_cast<uInt>(content.size()))),
                      static_cast<uint32_t>(compressed.size()), static_cast<uint32_t>(content.size()),
                      static_cast<uint32_t>(data_.size())};
    Put32(data_, kLocalHeaderSignature);
    Put16(data_, kVersionNeeded);
    PutEntryFields(data_, entry);
    Put16(data_, 0);   // no extra field
    data_ += entry.name;
    data_ += compressed;
    entries_.push_back(entry);
    return true;
}

// The fields the local header and the central directory share, from the
// flags to the name's length.
void ZipArchive::PutEntryFields(std::string& out, const Entry& entry) const
{
    Put16(out, kFlagUtf8Names);
    Put16(out, kMethodDeflate);
    Put16(out, stamp_.time);
    Put16(out, stamp_.date);
    Put32(out, entry.crc);
    Put32(out, entry.compressedSize);
    Put32(out, entry.size);
    Put16(out, static_cast<uint16_t>(entry.name.size()));
}

std::string ZipArchive::Finish() const
{
    std::string out = data_;
    const auto directoryOffset = static_cast<uint32_t>(out.size());
    for (const Entry& entry : entries_) {
        Put32(out, kCentralHeaderSignature);
        Put16(out, kVersionNeeded);   // made by: MS-DOS attributes, 2.0
        Put16(out, kVersionNeeded);
        PutEntryFields(out, entry);
        Put16(out, 0);   // extra field
        Put16(out, 0);   // comment
        Put16(out, 0);   // disk number
        Put16(out, 0);   // internal attributes
        Put32(out, 0);   // external attributes
        Put32(out, entry.offset);
        out += entry.name;
    }
    const auto directorySize = static_cast<uint32_t>(out.size() - directoryOffset);
    Put32(out, kEndSignature);
    Put16(out, 0);   // this disk
    Put16(out, 0);   // disk of the directory
    Put16(out, static_cast<uint16_t>(entries_.size()));
    Put16(out, static_cast<uint16_t>(entries_.size()));
    Put32(out, directorySize);
    Put32(out, directoryOffset);
    Put16(out, 0);   // comment
    return out;
}
