#pragma once
// The box's end of the serial line: the master side of a pseudo-terminal.
// The program opens the other end as a COM port; Wine finds it through a
// symbolic link whose path stays fixed while the box behind it comes and
// goes, so a COM port mapping made once in the Wine prefix survives every
// new box and every dropped line.
#include <string>

class PtyLine {
public:
    PtyLine() = default;
    ~PtyLine();
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    // Opens a new pseudo-terminal in raw mode and points `link` at its
    // other end. False, with the reason in *error, when that fails.
    bool Open(const std::string& link, std::string* error);
    // As an unplugged cable: the pseudo-terminal goes away and so does the
    // link, so nobody opens a terminal that later reuses its number.
    void Drop();
    bool IsOpen() const { return master_ >= 0; }
    // What the program set the line to, e.g. "19200 8N1"; empty when the
    // line is down.
    std::string Settings() const;
    // Bytes sent and not yet read by the program are lost.
    void DiscardUnread();
    int Fd() const { return master_; }
    const std::string& DevicePath() const { return device_; }

private:
    void RemoveOwnLink();

    int master_ = -1;
    // Held open so that the line stays up while the program has the port
    // closed: without any open slave, reads on the master fail.
    int slave_ = -1;
    std::string device_;
    std::string link_;
};
