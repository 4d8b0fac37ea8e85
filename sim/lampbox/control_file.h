#pragma once
// Lines appended to the control file are commands for the running box. The
// box stops when the file goes away, so a test that removes its folder also
// ends its box.
#include <string>

class ControlFile {
public:
    explicit ControlFile(std::string path) : path_(std::move(path)) {}

    bool Create() const;
    bool Exists() const;
    // The next complete line, without its line end, if one arrived. A line
    // too long for any command comes in pieces.
    bool NextLine(std::string* line);

private:
    std::string path_;
    long offset_ = 0;
};
