#include "machine_ini.h"

#include <algorithm>
#include <bitset>
#include <charconv>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// Decimal or 0x-hexadecimal, optionally negative, within [lo, hi].
std::optional<int64_t> ParseInteger(std::string_view s, int64_t lo, int64_t hi)
{
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && Lower(s[1]) == 'x') {
        base = 16;
        s.remove_prefix(2);
    }
    uint64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || magnitude > (uint64_t{1} << 32))
        return std::nullopt;
    const int64_t value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    if (value < lo || value > hi)
        return std::nullopt;
    return value;
}

// "2.6.7.3" (four bytes, first highest) or one 32-bit number.
std::optional<uint32_t> ParseVersion(std::string_view s)
{
    if (s.find('.') == std::string_view::npos) {
        const auto v = ParseInteger(s, 0, UINT32_MAX);
        return v ? std::optional<uint32_t>(static_cast<uint32_t>(*v)) : std::nullopt;
    }
    uint32_t version = 0;
    for (int part = 0; part < 4; ++part) {
        const size_t dot = s.find('.');
        if ((part < 3) == (dot == std::string_view::npos))
            return std::nullopt;
        const auto byte = ParseInteger(s.substr(0, dot), 0, 255);
        if (!byte)
            return std::nullopt;
        version = version << 8 | static_cast<uint32_t>(*byte);
        s = part < 3 ? s.substr(dot + 1) : std::string_view{};
    }
    return version;
}

// "Pnnn" or "Wnnn" with a number below `count`.
std::optional<int> ParseIndexedKey(std::string_view key, char letter, int count)
{
    if (key.size() < 2 || Lower(key[0]) != Lower(letter))
        return std::nullopt;
    const auto n = ParseInteger(key.substr(1), 0, count - 1);
    if (!n || key[1] == '-' || key[1] == '+')
        return std::nullopt;
    return static_cast<int>(*n);
}

enum class Section { None, Board, Params, Flash, Axis };

class IniReader {
public:
    explicit IniReader(MachineDescription& m) : machine_(m) {}

    bool Line(std::string_view line, std::string& problem)
    {
        line = Trim(line.substr(0, line.find_first_of(";#")));
        if (line.empty())
            return true;
        if (line.front() == '[')
            return Header(line, problem);
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            problem = "expected key=value";
            return false;
        }
        const std::string_view key = Trim(line.substr(0, eq));
        const std::string_view value = Trim(line.substr(eq + 1));
        switch (section_) {
        case Section::Board: return BoardKey(key, value, problem);
        case Section::Params: return ParamKey(key, value, problem);
        case Section::Flash: return FlashKey(key, value, problem);
        case Section::Axis: return AxisKey(key, value, problem);
        case Section::None: break;
        }
        problem = "key outside a section";
        return false;
    }

    // Factory velocities are in tenths of mm/s; an older firmware reads P061
    // in mm/s, so a description that picks such a firmware keeps the speeds.
    bool Finish(std::string& error)
    {
        if (!UsesCentiPercent(machine_.versions.firmware))
            for (int a = 0; a < kAxisCount; ++a)
                if (!givenParams_[AxisParam(61, a)])
                    machine_.params[AxisParam(61, a)] /= 10;
        for (int a = 0; a < kAxisCount; ++a) {
            const ScaleKeys& given = scaleKeys_[a];
            const std::string section = "[Axis " + std::string(kAxisNames[a]) + "]: ";
            AxisSetup& axis = machine_.axes[a];
            // MoveStatus alone forces the whole byte.
            if (forcedKeys_[a].bits && !forcedKeys_[a].mask)
                axis.moveStatusMask = 0xFF;
            if ((axis.moveStatusBits & ~axis.moveStatusMask) != 0) {
                error = section + "MoveStatus sets bits outside MoveStatusMask";
                return false;
            }
            if (!given.coding && (given.increment || given.countsPerLine || given.other)) {
                error = section + "Scale... keys need CodedScale";
                return false;
            }
            if (!given.coding)
                continue;
            if (!machine_.axes[a].marks.empty()) {
                error = section + "RefMarks and CodedScale exclude each other";
                return false;
            }
            if (!given.increment || !given.countsPerLine) {
                error = section + "CodedScale needs ScaleIncrement and ScaleCountsPerLine";
                return false;
            }
            std::string why;
            if (!Scale::Check(layouts_[a], why)) {
                error = section + why;
                return false;
            }
            machine_.axes[a].codedScale = layouts_[a];
        }
        return true;
    }

private:
    bool Header(std::string_view line, std::string& problem)
    {
        if (line.back() != ']') {
            problem = "unterminated section header";
            return false;
        }
        const std::string_view name = Trim(line.substr(1, line.size() - 2));
        if (SameText(name, "Board"))
            section_ = Section::Board;
        else if (SameText(name, "Params"))
            section_ = Section::Params;
        else if (SameText(name, "Flash"))
            section_ = Section::Flash;
        else if (name.size() > 5 && SameText(name.substr(0, 5), "Axis ")) {
            section_ = Section::Axis;
            axis_ = -1;
            for (int a = 0; a < kAxisCount; ++a)
                if (SameText(Trim(name.substr(5)), kAxisNames[a]))
                    axis_ = a;
            if (axis_ < 0) {
                problem = "unknown axis (X, Y, Z, Q or Zoom)";
                return false;
            }
        } else {
            problem = "unknown section";
            return false;
        }
        return true;
    }

    template <typename T>
    static bool Store(std::string_view value, int64_t lo, int64_t hi, T& target, std::string& problem)
    {
        const auto v = ParseInteger(value, lo, hi);
        if (!v) {
            problem = "value is not a number in range " + std::to_string(lo) + ".." + std::to_string(hi);
            return false;
        }
        target = static_cast<T>(*v);
        return true;
    }

    static bool StoreVersion(std::string_view value, uint32_t& target, std::string& problem)
    {
        const auto v = ParseVersion(value);
        if (!v) {
            problem = "version must be four bytes a.b.c.d or one number";
            return false;
        }
        target = *v;
        return true;
    }

    bool BoardKey(std::string_view key, std::string_view value, std::string& problem)
    {
        BoardVersions& v = machine_.versions;
        if (SameText(key, "Present"))
            return Store(value, 0, 1, machine_.boardPresent, problem);
        if (SameText(key, "OpenFailures"))
            return Store(value, -1, INT32_MAX, machine_.openFailures, problem);
        if (SameText(key, "Firmware"))
            return StoreVersion(value, v.firmware, problem);
        if (SameText(key, "Dll"))
            return StoreVersion(value, v.dll, problem);
        if (SameText(key, "Hardware"))
            return Store(value, 0, UINT32_MAX, v.hardware, problem);
        if (SameText(key, "Fpga"))
            return Store(value, 0, UINT32_MAX, v.fpga, problem);
        if (SameText(key, "Serial"))
            return Store(value, 0, UINT32_MAX, v.serial, problem);
        if (SameText(key, "Oe"))
            return Store(value, 0, 255, v.oe, problem);
        if (SameText(key, "BoardType"))
            return Store(value, 0, UINT32_MAX, v.boardType, problem);
        if (SameText(key, "SystemStatus"))
            return Store(value, 0, UINT32_MAX, machine_.systemStatus, problem);
        if (SameText(key, "ProbeStatus"))
            return Store(value, 0, 255, machine_.probeStatus, problem);
        if (SameText(key, "ProbeHitEveryMs"))
            return Store(value, 0, UINT32_MAX, machine_.probeHitEveryMs, problem);
        if (SameText(key, "GpioLoopBack"))
            return Store(value, 0, 1, machine_.gpioLoopBack, problem);
        if (SameText(key, "GpioInputs"))
            return Store(value, 0, 255, machine_.gpioInputs, problem);
        if (SameText(key, "FiveButtonJoystick"))
            return Store(value, 0, 1, machine_.fiveButtonJoystick, problem);
        if (SameText(key, "Turret"))
            return Store(value, 0, 1, machine_.turret, problem);
        if (SameText(key, "TurretTurnMs"))
            return Store(value, 0, 60000, machine_.turretTurnMs, problem);
        if (SameText(key, "TurretPosition"))
            return Store(value, 1, 5, machine_.turretPosition, problem);
        problem = "unknown key in [Board]";
        return false;
    }

    bool ParamKey(std::string_view key, std::string_view value, std::string& problem)
    {
        const auto n = ParseIndexedKey(key, 'P', kParamCount);
        if (!n) {
            problem = "parameter key must be P000..P511";
            return false;
        }
        givenParams_[*n] = true;
        return Store(value, INT32_MIN, UINT32_MAX, machine_.params[*n], problem);
    }

    bool FlashKey(std::string_view key, std::string_view value, std::string& problem)
    {
        const auto n = ParseIndexedKey(key, 'W', kFlashWordCount);
        if (!n) {
            problem = "flash key must be W000..W" + std::to_string(kFlashWordCount - 1);
            return false;
        }
        return Store(value, INT32_MIN, UINT32_MAX, machine_.flash[*n], problem);
    }

    bool AxisKey(std::string_view key, std::string_view value, std::string& problem)
    {
        AxisSetup& a = machine_.axes[axis_];
        if (SameText(key, "TravelMin"))
            return Store(value, INT32_MIN, INT32_MAX, a.travelMin, problem);
        if (SameText(key, "TravelMax"))
            return Store(value, INT32_MIN, INT32_MAX, a.travelMax, problem);
        if (SameText(key, "Position"))
            return Store(value, INT32_MIN, INT32_MAX, a.powerOnPosition, problem);
        if (SameText(key, "ErrorByte"))
            return Store(value, 0, 255, a.errorByte, problem);
        if (SameText(key, "AxisStatus"))
            return Store(value, 0, 0xFFFF, a.axisStatus, problem);
        if (SameText(key, "ExtraLag"))
            return Store(value, -1000000000, 1000000000, a.extraLag, problem);
        if (SameText(key, "LimitSwitches"))
            return Store(value, 0, 1, a.limitSwitches, problem);
        if (SameText(key, "Stuck"))
            return Store(value, 0, 1, a.stuck, problem);
        if (SameText(key, "MoveStatus")) {
            forcedKeys_[axis_].bits = true;
            return Store(value, 0, 255, a.moveStatusBits, problem);
        }
        if (SameText(key, "MoveStatusMask")) {
            forcedKeys_[axis_].mask = true;
            return Store(value, 0, 255, a.moveStatusMask, problem);
        }
        if (SameText(key, "HomeSwitchWidth")) {
            if (axis_ != kZoomAxis) {
                problem = "only the zoom has a home switch";
                return false;
            }
            return Store(value, 0, INT32_MAX, a.homeSwitchWidth, problem);
        }
        if (SameText(key, "MarkInverted"))
            return Store(value, 0, 1, a.markInverted, problem);
        if (SameText(key, "RefMarks"))
            return MarkList(value, a.marks, problem);
        if (SameText(key, "JoystickAdc") || SameText(key, "JoystickStepMs")) {
            if (axis_ > 2) {
                problem = "only X, Y and Z have a joystick deflection";
                return false;
            }
            if (SameText(key, "JoystickStepMs"))
                return Store(value, 1, 3600000, a.joystickStepMs, problem);
            return ReadingList(value, a.joystickAdc, problem);
        }
        ScaleKeys& given = scaleKeys_[axis_];
        CodedLayout& layout = layouts_[axis_];
        if (SameText(key, "CodedScale")) {
            given.coding = true;
            if (SameText(value, "AcuRite") || SameText(value, "Acu-Rite"))
                layout.acuRite = true;
            else if (SameText(value, "Standard"))
                layout.acuRite = false;
            else {
                problem = "CodedScale must be AcuRite or Standard";
                return false;
            }
            return true;
        }
        if (SameText(key, "ScaleIncrement")) {
            given.increment = true;
            return Store(value, 1, INT32_MAX, layout.incrementLines, problem);
        }
        if (SameText(key, "ScaleCountsPerLine")) {
            given.countsPerLine = true;
            return Store(value, 1, INT32_MAX, layout.countsPerLine, problem);
        }
        if (SameText(key, "ScaleZero")) {
            given.other = true;
            return Store(value, INT32_MIN, INT32_MAX, layout.zero, problem);
        }
        if (SameText(key, "ScaleReversed")) {
            given.other = true;
            return Store(value, 0, 1, layout.reversed, problem);
        }
        problem = "unknown key in [Axis]";
        return false;
    }

    // "n, n, ..." marks in counts.
    static bool MarkList(std::string_view value, std::vector<int64_t>& marks, std::string& problem)
    {
        constexpr size_t kMaxMarks = 10000;
        marks.clear();
        while (!value.empty()) {
            const size_t comma = value.find(',');
            const auto mark = ParseInteger(Trim(value.substr(0, comma)), INT32_MIN, INT32_MAX);
            if (!mark || marks.size() == kMaxMarks) {
                problem = "RefMarks must be up to " + std::to_string(kMaxMarks) + " counts separated by commas";
                return false;
            }
            marks.push_back(*mark);
            value = comma == std::string_view::npos ? std::string_view{} : Trim(value.substr(comma + 1));
            if (comma != std::string_view::npos && value.empty()) {
                problem = "RefMarks ends in a comma";
                return false;
            }
        }
        return true;
    }

    // "n, n, ..." ADC readings of a joystick script.
    static bool ReadingList(std::string_view value, std::vector<uint16_t>& readings, std::string& problem)
    {
        std::vector<int64_t> numbers;
        if (!MarkList(value, numbers, problem) || numbers.empty() ||
            std::ranges::any_of(numbers, [](int64_t n) { return n < 0 || n > UINT16_MAX; })) {
            problem = "JoystickAdc must be readings 0..65535 separated by commas";
            return false;
        }
        readings.assign(numbers.begin(), numbers.end());
        return true;
    }

    MachineDescription& machine_;
    Section section_ = Section::None;
    int axis_ = 0;
    std::bitset<kParamCount> givenParams_;
    struct ScaleKeys {
        bool coding = false, increment = false, countsPerLine = false, other = false;
    };
    std::array<ScaleKeys, kAxisCount> scaleKeys_{};
    struct ForcedKeys {
        bool bits = false, mask = false;
    };
    std::array<ForcedKeys, kAxisCount> forcedKeys_{};
    std::array<CodedLayout, kAxisCount> layouts_{};
};

// Every axis must be able to stand at its power-on position.
bool CheckTravel(const MachineDescription& m, std::string& error)
{
    for (int a = 0; a < kAxisCount; ++a) {
        const AxisSetup& s = m.axes[a];
        if (s.travelMin > s.powerOnPosition || s.powerOnPosition > s.travelMax) {
            error = "[Axis " + std::string(kAxisNames[a]) + "]: Position must lie within TravelMin..TravelMax";
            return false;
        }
    }
    return true;
}

} // namespace

bool ApplyMachineIni(std::string_view text, MachineDescription& machine, std::string& error)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    IniReader reader(machine);
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t nl = text.find('\n');
        const std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
        std::string problem;
        if (!reader.Line(line, problem)) {
            error = "line " + std::to_string(lineNumber) + ": " + problem;
            return false;
        }
    }
    return reader.Finish(error) && CheckTravel(machine, error);
}
