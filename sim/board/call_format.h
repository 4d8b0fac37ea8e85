#pragma once
// Formats one driver call for the call log: the name, the arguments in
// order and the result, e.g. AXB_GetMoveStatus(0,4,&5,&0)=1. Numbers are
// decimal (unsigned types unsigned, doubles with %g); an out-parameter is
// "&" and the value the call returned through it, "&[a,b,...]" for an
// array, "&?" when the call failed and wrote nothing, "&null" for a null
// pointer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <type_traits>

template <typename T>
struct OutArg {
    const T* values;
    size_t count;
};

template <typename T>
OutArg<T> Out(const T* value)
{
    return {value, 1};
}

template <typename T>
OutArg<T> OutArray(const T* values, size_t count)
{
    return {values, count};
}

namespace call_format {

inline void Append(std::string& s, double v, bool)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    s += text;
}

template <typename T>
    requires std::is_integral_v<T>
void Append(std::string& s, T v, bool)
{
    if constexpr (std::is_signed_v<T>)
        s += std::to_string(static_cast<long long>(v));
    else
        s += std::to_string(static_cast<unsigned long long>(v));
}

template <typename T>
void Append(std::string& s, const OutArg<T>& out, bool ok)
{
    s += '&';
    if (!out.values) {
        s += "null";
        return;
    }
    if (!ok) {
        s += '?';
        return;
    }
    if (out.count > 1)
        s += '[';
    for (size_t i = 0; i < out.count; ++i) {
        if (i > 0)
            s += ',';
        Append(s, out.values[i], ok);
    }
    if (out.count > 1)
        s += ']';
}

} // namespace call_format

template <typename... Args>
std::string FormatCall(const char* name, int result, const Args&... args)
{
    std::string line(name);
    line += '(';
    [[maybe_unused]] bool first = true;
    [[maybe_unused]] const bool ok = result != 0;
    ((line += first ? "" : ",", first = false, call_format::Append(line, args, ok)), ...);
    line += ")=";
    line += std::to_string(result);
    return line;
}
