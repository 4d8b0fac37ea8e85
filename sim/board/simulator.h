#pragma once
// The one simulated board of the process, shared by the driver exports and
// the control interface: the board itself, its clock, the call log and the
// files it reads and writes. Calls come from the program's GUI thread; a
// lock keeps a second thread from interleaving with it.
#include "board.h"
#include "call_format.h"
#include "call_log.h"
#include "sim_clock.h"

#include <mutex>
#include <optional>
#include <string>

class Simulator {
public:
    // Created on the first call, from AXBSIM_CONFIG, AXBSIM_STATE and
    // AXBSIM_TRACE.
    static Simulator& Instance();

    // A driver call: brings the board to the current time, runs `op` and
    // logs the call with `loggedArgs` (see call_format.h).
    template <typename Op, typename... Args>
    int Call(const char* name, Op op, const Args&... loggedArgs)
    {
        std::lock_guard<std::mutex> guard(lock_);
        const uint64_t now = clock_.NowUs();
        board_.Update(now);
        const int result = op(board_);
        log_.Record(FormatCall(name, result, loggedArgs...), now / 1000);
        return result;
    }

    // A control request: the same, without logging.
    template <typename Op>
    auto Control(Op op)
    {
        std::lock_guard<std::mutex> guard(lock_);
        board_.Update(clock_.NowUs());
        return op(*this);
    }

    Board& board() { return board_; }
    SimClock& clock() { return clock_; }
    CallLog& log() { return log_; }

    // A new board: the machine description, blank flash (the state file is
    // deleted), an empty call log.
    void Reset();
    // Off and on again: the machine description and whatever the flash
    // kept in the state file.
    void PowerCycle();
    // Empty paths fall back to the environment (and, for the state file,
    // to AXB400.state beside the DLL). SetConfigFile answers whether the
    // description can be used; either way it takes effect at the next
    // Reset or PowerCycle.
    bool SetConfigFile(const std::wstring& path);
    void SetStateFile(const std::wstring& path);
    bool SetTraceFile(const std::wstring& path);

private:
    Simulator();
    std::optional<MachineDescription> DescribedMachine(std::string& error) const;
    MachineDescription LoadMachine();
    std::optional<FlashState> LoadFlash();
    void SaveFlash(const FlashState& state);
    void Report(const std::string& message);

    std::mutex lock_;
    SimClock clock_;
    CallLog log_;
    Board board_;
    std::wstring configPath_;
    std::wstring statePath_;
};
