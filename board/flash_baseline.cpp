#include "board/flash_baseline.h"

#include "board/param_io.h"

namespace {

BoardConfig g_baseline;
BoardVersions g_versions;
bool g_hasBaseline = false;

// The program sets the fence parameters from the record whenever it opens or
// closes the fences (a save stores them open): they are never a
// technician's unsaved change.
bool IsFenceParam(int number)
{
    for (int a = 0; a < kEncoderAxisCount; ++a)
        if (number == AxisParam(kParamFencePlus, a) || number == AxisParam(kParamFenceMinus, a))
            return true;
    return false;
}

} // namespace

void TakeFlashBaseline()
{
    g_baseline = CurrentBoardConfig();
    g_hasBaseline = true;
}

void TakeConnectBaseline(const BoardVersions& versions)
{
    g_versions = versions;
    TakeFlashBaseline();
}

const BoardVersions& BaselineBoardVersions() { return g_versions; }

const BoardConfig& FlashBaseline() { return g_baseline; }

bool HasFlashBaseline() { return g_hasBaseline; }

BoardConfig CurrentBoardConfig()
{
    BoardConfig config;
    for (int n = 0; n < kParamCount; ++n)
        config.params[n] = KnownBoardParam(n);
    config.items = g_flashItemValues;
    PackItemValues(krv_user_box_data, config.items);
    return config;
}

void MarkBoardKept(std::vector<DiffRow>& rows)
{
    for (DiffRow& row : rows)
        row.kept = row.kind == DiffRowKind::Param && BoardKeptOtherValue(row.number);
}

std::vector<DiffRow> BoardAgainstFlashRows()
{
    std::vector<DiffRow> rows = DiffConfigs(CurrentBoardConfig(), g_baseline);
    MarkBoardKept(rows);
    std::erase_if(rows, [](const DiffRow& row) { return row.kind == DiffRowKind::Param && IsFenceParam(row.number); });
    return rows;
}

UnsavedCount UnsavedChanges()
{
    if (!g_hasBaseline)
        return {};
    return CountDiffering(BoardAgainstFlashRows());
}

void ResetFlashBaseline()
{
    g_baseline = {};
    g_versions = {};
    g_hasBaseline = false;
}
