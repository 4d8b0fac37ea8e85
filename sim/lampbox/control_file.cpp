#include "control_file.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

bool ControlFile::Create() const
{
    FILE* file = std::fopen(path_.c_str(), "w");
    if (file)
        std::fclose(file);
    return file != nullptr;
}

bool ControlFile::Exists() const
{
    struct stat info{};
    return stat(path_.c_str(), &info) == 0;
}

bool ControlFile::NextLine(std::string* line)
{
    FILE* file = std::fopen(path_.c_str(), "r");
    if (!file)
        return false;
    char buffer[128] = {};
    const bool got = std::fseek(file, offset_, SEEK_SET) == 0 && std::fgets(buffer, sizeof buffer, file) != nullptr;
    std::fclose(file);
    const size_t length = std::strlen(buffer);
    if (!got || (buffer[length - 1] != '\n' && length < sizeof buffer - 1))
        return false;
    offset_ += static_cast<long>(length);
    *line = std::string(buffer, std::strcspn(buffer, "\r\n"));
    return true;
}
