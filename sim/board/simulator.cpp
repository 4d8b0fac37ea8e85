#include "simulator.h"

#include "machine_ini.h"
#include "sim_files.h"

namespace {

constexpr size_t kMaxConfigBytes = 1 << 20;
constexpr size_t kMaxStateBytes = 1 << 20;
constexpr const wchar_t* kDefaultStateFile = L"AXB400.state";

std::wstring ConfigPathOrEnvironment(const std::wstring& path)
{
    return path.empty() ? EnvironmentValue(L"AXBSIM_CONFIG") : path;
}

std::wstring StatePathOrDefault(const std::wstring& path)
{
    if (!path.empty())
        return path;
    const std::wstring fromEnvironment = EnvironmentValue(L"AXBSIM_STATE");
    return fromEnvironment.empty() ? ModuleFolder() + kDefaultStateFile : fromEnvironment;
}

} // namespace

Simulator& Simulator::Instance()
{
    static Simulator instance;
    return instance;
}

Simulator::Simulator()
    : board_([this](const FlashState& state) { SaveFlash(state); },
             [this](const std::string& text, uint64_t atUs) { log_.Note(text, atUs / 1000); }),
      configPath_(ConfigPathOrEnvironment({})),
      statePath_(StatePathOrDefault({}))
{
    SetTraceFile({});
    PowerCycle();
}

void Simulator::Reset()
{
    log_.Clear();
    if (!DeleteFileIfPresent(statePath_))
        Report("cannot delete the state file " + Utf8(statePath_));
    board_.PowerOn(LoadMachine(), std::nullopt);
}

void Simulator::PowerCycle()
{
    const MachineDescription machine = LoadMachine();
    board_.PowerOn(machine, LoadFlash());
}

bool Simulator::SetConfigFile(const std::wstring& path)
{
    configPath_ = ConfigPathOrEnvironment(path);
    std::string error;
    return DescribedMachine(error).has_value();
}

void Simulator::SetStateFile(const std::wstring& path) { statePath_ = StatePathOrDefault(path); }

bool Simulator::SetTraceFile(const std::wstring& path)
{
    const std::wstring trace = path.empty() ? EnvironmentValue(L"AXBSIM_TRACE") : path;
    if (log_.TraceTo(trace))
        return true;
    Report("cannot open the trace file " + Utf8(trace));
    return false;
}

std::optional<MachineDescription> Simulator::DescribedMachine(std::string& error) const
{
    MachineDescription machine = FactoryMachine();
    if (configPath_.empty())
        return machine;
    const std::optional<std::string> text = ReadWholeFile(configPath_, kMaxConfigBytes, error);
    if (!text || !ApplyMachineIni(*text, machine, error))
        return std::nullopt;
    return machine;
}

MachineDescription Simulator::LoadMachine()
{
    std::string error;
    if (std::optional<MachineDescription> machine = DescribedMachine(error))
        return *machine;
    Report("machine description " + Utf8(configPath_) + " not used: " + error + "; running the factory machine");
    return FactoryMachine();
}

std::optional<FlashState> Simulator::LoadFlash()
{
    if (!FileExists(statePath_)) {
        log_.Note("no state file " + Utf8(statePath_) + ": a new board with blank flash", clock_.NowMs());
        return std::nullopt;
    }
    std::string error;
    FlashState state;
    const std::optional<std::string> text = ReadWholeFile(statePath_, kMaxStateBytes, error);
    if (text && ParseFlashState(*text, state, error))
        return state;
    Report("state file " + Utf8(statePath_) + " is corrupt (" + error +
           "); the board starts as new, with factory parameters and blank flash");
    return std::nullopt;
}

void Simulator::SaveFlash(const FlashState& state)
{
    std::string error;
    if (!ReplaceFileContents(statePath_, FormatFlashState(state), error))
        Report("cannot save the board's flash to " + Utf8(statePath_) + ": " + error);
}

void Simulator::Report(const std::string& message)
{
    WriteToStderr("AXBSIM: " + message);
    log_.Note(message, clock_.NowMs());
}
