#include "pty_line.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

std::string ErrnoText(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

constexpr struct {
    speed_t code;
    unsigned baud;
} kRates[] = {
    {B1200, 1200}, {B2400, 2400}, {B4800, 4800}, {B9600, 9600}, {B19200, 19200},
    {B38400, 38400}, {B57600, 57600}, {B115200, 115200},
};

int DataBits(tcflag_t flags)
{
    switch (flags & CSIZE) {
    case CS5: return 5;
    case CS6: return 6;
    case CS7: return 7;
    default: return 8;
    }
}

void CloseFd(int& fd)
{
    if (fd >= 0)
        close(fd);
    fd = -1;
}

} // namespace

PtyLine::~PtyLine() { Drop(); }

bool PtyLine::Open(const std::string& link, std::string* error)
{
    Drop();
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        *error = ErrnoText("posix_openpt");
        CloseFd(master_);
        return false;
    }
    const char* name = ptsname(master_);
    slave_ = name ? open(name, O_RDWR | O_NOCTTY | O_NONBLOCK) : -1;
    termios raw{};
    if (slave_ < 0 || tcgetattr(slave_, &raw) != 0) {
        *error = ErrnoText("opening the terminal side");
        Drop();
        return false;
    }
    // A serial line passes every byte as it is: no echo, no line editing,
    // no newline translation.
    // A fresh port runs at 9600 baud, so that the program's own setting shows.
    cfmakeraw(&raw);
    cfsetispeed(&raw, B9600);
    cfsetospeed(&raw, B9600);
    tcsetattr(slave_, TCSANOW, &raw);
    device_ = name;

    // Replaced in one step, so the program never finds the link missing
    // while a new box starts.
    const size_t slash = link.rfind('/');
    if (slash != std::string::npos && slash > 0)
        mkdir(link.substr(0, slash).c_str(), 0755);
    const std::string temporary = link + ".new";
    unlink(temporary.c_str());
    if (symlink(device_.c_str(), temporary.c_str()) != 0 || rename(temporary.c_str(), link.c_str()) != 0) {
        *error = ErrnoText(("linking " + link).c_str());
        Drop();
        return false;
    }
    link_ = link;
    return true;
}

std::string PtyLine::Settings() const
{
    termios line{};
    if (slave_ < 0 || tcgetattr(slave_, &line) != 0)
        return {};
    for (const auto& rate : kRates) {
        if (cfgetospeed(&line) == rate.code) {
            const char parity = (line.c_cflag & PARENB) ? ((line.c_cflag & PARODD) ? 'O' : 'E') : 'N';
            char text[32];
            std::snprintf(text, sizeof text, "%u %d%c%d", rate.baud, DataBits(line.c_cflag), parity,
                          (line.c_cflag & CSTOPB) ? 2 : 1);
            return text;
        }
    }
    return "unknown baud rate";
}

void PtyLine::DiscardUnread()
{
    if (slave_ >= 0)
        tcflush(slave_, TCIFLUSH);
}

void PtyLine::Drop()
{
    RemoveOwnLink();
    CloseFd(slave_);
    CloseFd(master_);
    device_.clear();
}

void PtyLine::RemoveOwnLink()
{
    if (link_.empty())
        return;
    // A newer box may own the link by now; its link stays.
    char target[256];
    const ssize_t length = readlink(link_.c_str(), target, sizeof target - 1);
    if (length > 0 && std::string(target, static_cast<size_t>(length)) == device_)
        unlink(link_.c_str());
    link_.clear();
}
