#include "tests/support/program_test.h"

#include "infra/settings.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "ui/axis_radios.h"

#include <cstdio>

namespace {
constexpr int kUnitRadios[] = {IDC_UNIT_MM, IDC_UNIT_IN, IDC_UNIT_STORED};
}

void ProgramTest::TearDown()
{
    // The run's log tells what went wrong far better than a value does.
    if (HasFailure())
        for (const std::string& line : h.Log().Lines())
            std::printf("log: %s\n", line.c_str());
}

HWND ProgramTest::Start(const std::function<void()>& beforeStart, bool firstTick)
{
    if (main) {
        main = h.RestartProgram(beforeStart);
    } else {
        if (beforeStart)
            beforeStart();
        main = h.StartProgram();
    }
    if (firstTick)
        h.Clock().Advance(10);
    Forget();
    return main;
}

void ProgramTest::Forget()
{
    AxbSim_ClearCallLog();
    h.Log().Clear();
}

void ProgramTest::ChooseUnit(int radio) { ChooseRadio(main, radio, kUnitRadios); }

void ProgramTest::ChooseAxis(int radio) { ChooseRadio(main, radio, kAxisRadioIds); }

void ProgramTest::OpenModal(int button, ModalScript script)
{
    OnNextModalDialog(std::move(script));
    Press(button);
    EXPECT_FALSE(ModalScriptPending()) << "button " << button << " opened no dialog";
}

void ProgramTest::WriteSetting(const wchar_t* section, const wchar_t* key, const wchar_t* value)
{
    WriteSettingString(section, key, value);
}

std::vector<std::string> ProgramTest::LinesStartingWith(std::initializer_list<std::string> prefixes)
{
    std::vector<std::string> found;
    for (const std::string& line : h.Log().Lines())
        for (const std::string& prefix : prefixes)
            if (line.rfind(prefix, 0) == 0) {
                found.push_back(line);
                break;
            }
    return found;
}

void ProgramTest::ChooseRadio(HWND dialog, int id, std::span<const int> group)
{
    for (int other : group)
        CheckDlgButton(dialog, other, other == id ? BST_CHECKED : BST_UNCHECKED);
    PressButton(dialog, id);
}

void ProgramTest::ChooseListItem(HWND dialog, int id, int position)
{
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, position, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    PumpMessages();
}

std::vector<std::string> ProgramTest::ListItems(HWND dialog, int id)
{
    std::vector<std::string> items;
    const auto count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(Narrow(text));
    }
    return items;
}

int ProgramTest::Selected(HWND dialog, int id)
{
    return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}
