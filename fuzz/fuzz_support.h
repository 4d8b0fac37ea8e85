#pragma once
// What every fuzz target shares: an input read front to back as fixed-size
// fields, so that a seed can be written field by field (little-endian, a
// field past the end reads as zero; a structure is read whole, so only one
// without padding), and a check that ends the run with the failed
// condition, so that libFuzzer keeps the input that broke it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <type_traits>

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    template <class T>
    T Take()
    {
        static_assert(std::is_trivially_copyable_v<T>);
        unsigned char bytes[sizeof(T)] = {};
        const size_t n = std::min(sizeof(T), size_ - used_);
        if (n > 0)
            std::memcpy(bytes, data_ + used_, n);
        used_ += n;
        T value;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }

    // Whatever the fields left.
    std::string_view Rest() const { return {reinterpret_cast<const char*>(data_) + used_, size_ - used_}; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t used_ = 0;
};

// A text buffer with guard bytes behind the part a formatter is given: what
// it writes must end inside that part, with its terminator.
template <size_t Capacity>
struct GuardedText {
    static constexpr char kGuard = 0x5A;
    char text[Capacity + 16];

    GuardedText() { std::memset(text, kGuard, sizeof text); }
    // The text fits the size it was given and nothing behind that was touched.
    std::string_view Written(size_t size) const
    {
        for (size_t i = size; i < sizeof text; ++i)
            FUZZ_CHECK(text[i] == kGuard);
        const void* end = std::memchr(text, '\0', size);
        FUZZ_CHECK(end != nullptr);
        return {text, static_cast<size_t>(static_cast<const char*>(end) - text)};
    }
};
