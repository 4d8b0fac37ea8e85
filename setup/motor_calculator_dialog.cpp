#include "setup/motor_calculator_dialog.h"

#include "core/flash_items.h"
#include "core/motor_calculator.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "res/resource.h"
#include "core/number_text.h"
#include "setup/setup_fields.h"
#include "ui/axis_radios.h"
#include "ui/dialog.h"
#include "ui/fields.h"
#include "ui/modal.h"

#include <cwchar>
#include <iterator>
#include <span>

namespace {


// The brushless motor's data, kept by this dialog only.
struct BrushlessData {
    int32_t polePairs = 0;
    float leadPitch = 0.0f;
    float rotations = 0.0f;
    int32_t motorLag = 0;
};
BrushlessData g_brushless[kAxisCount];

enum Inputs : int { kNoInputs, kFirstFieldOnly, kStepperInputs, kBrushlessInputs };
enum Formula : int { kNoFormula, kBrushedFormula, kStepperFormula, kBrushlessFormula };

struct CalcLayout {
    int motorType;
    const wchar_t* title;
    Inputs inputs;
    Formula formula;
    const wchar_t* firstCaption;   // nullptr: hidden
};
constexpr wchar_t kLeadCaption[] = L"Distance Stage moves for one revolution of motor(mm/rev)";
constexpr wchar_t kPolePairsHeading[] = L"Number of Pole Pairs)";
// Types 6 and 7 are offered by no list; they get no calculation rather than
// the brushed formula under a stepper's title.
constexpr CalcLayout kLayouts[8] = {
    {0, L"Motor: Disabled", kNoInputs, kNoFormula, nullptr},
    {1, L"Motor: Brushed DC Motor", kFirstFieldOnly, kBrushedFormula, L"Motor Voltage At Target Velocity (V)"},
    {2, L"Motor: Brushless DC Servo", kBrushlessInputs, kBrushlessFormula, kPolePairsHeading},
    {3, L"Motor: Stepper", kStepperInputs, kStepperFormula, kLeadCaption},
    {4, L"Motor: Open Loop Stepper", kStepperInputs, kStepperFormula, kLeadCaption},
    {5, L"Motor: Brushless DC Open Loop", kBrushlessInputs, kBrushlessFormula, kPolePairsHeading},
    {6, L"Motor: Unknown", kNoInputs, kNoFormula, nullptr},
    {7, L"Motor: Unknown", kNoInputs, kNoFormula, nullptr},
};

constexpr int kStepperSecondaryControls[] = {IDC_CALC_STEPS_CAPTION, IDC_CALC_STEPS, IDC_CALC_MICROSTEPS_CAPTION,
                                             IDC_CALC_MICROSTEPS};
constexpr int kBrushlessControls[] = {IDC_CALC_POLE_PAIRS_CAPTION, IDC_CALC_POLE_PAIRS, IDC_CALC_LEAD_PITCH_CAPTION,
                                      IDC_CALC_LEAD_PITCH,         IDC_CALC_ROTATIONS_CAPTION, IDC_CALC_ROTATIONS,
                                      IDC_CALC_MOTOR_LAG_CAPTION,  IDC_CALC_MOTOR_LAG};

ShownFields g_fields;

const CalcLayout& LayoutOf(int axis) { return kLayouts[AxisMotorType(axis)]; }

void ShowAll(HWND wnd, std::span<const int> ids, bool show)
{
    for (int id : ids)
        ShowControl(wnd, id, show);
}

void SetLayout(HWND wnd, int axis)
{
    const CalcLayout& layout = LayoutOf(axis);
    SetDlgItemTextW(wnd, IDC_CALC_TITLE, layout.title);
    ShowControl(wnd, IDC_CALC_LEAD_CAPTION, layout.firstCaption != nullptr);
    if (layout.firstCaption)
        SetDlgItemTextW(wnd, IDC_CALC_LEAD_CAPTION, layout.firstCaption);
    ShowControl(wnd, IDC_CALC_LEAD, layout.inputs == kFirstFieldOnly || layout.inputs == kStepperInputs);
    ShowAll(wnd, kStepperSecondaryControls, layout.inputs == kStepperInputs);
    ShowAll(wnd, kBrushlessControls, layout.inputs == kBrushlessInputs);
    ShowControl(wnd, IDC_CALC_CALC, layout.formula != kNoFormula);
}

void FillFloat(HWND wnd, int id, float value)
{
    wchar_t text[kFieldTextCapacity];
    std::swprintf(text, kFieldTextCapacity, L"%g", static_cast<double>(value));
    g_fields.ShowText(wnd, id, text);
}

void FillInt(HWND wnd, int id, int32_t value)
{
    wchar_t text[kFieldTextCapacity];
    std::swprintf(text, kFieldTextCapacity, L"%d", value);
    g_fields.ShowText(wnd, id, text);
}

void Fill(HWND wnd, int axis)
{
    FillFloat(wnd, IDC_CALC_LEAD, g_leadscrew_lead[axis]);
    FillFloat(wnd, IDC_CALC_STEPS, g_motorSteps[axis]);
    FillFloat(wnd, IDC_CALC_MICROSTEPS, g_microsteps[axis]);
    const BrushlessData& data = g_brushless[axis];
    FillInt(wnd, IDC_CALC_POLE_PAIRS, data.polePairs);
    FillFloat(wnd, IDC_CALC_LEAD_PITCH, data.leadPitch);
    FillFloat(wnd, IDC_CALC_ROTATIONS, data.rotations);
    FillInt(wnd, IDC_CALC_MOTOR_LAG, data.motorLag);
}

// A stepper field the technician changed to a number gives that number; an
// untouched or unreadable one keeps the stored value (a "%g" text read back
// would round a lead of more than six digits).
void ReadStepperField(HWND wnd, int id, float& value) { value = g_fields.TakeTypedNumber(wnd, id, WholeFloat).value_or(value); }

// The brushless inputs feed only the results (and "OK" the stepper fields):
// read as typed; text that is no number keeps the value.
void ReadFloat(HWND wnd, int id, float& value) { value = WholeFloat(FieldText(wnd, id)).value_or(value); }

void ReadInt(HWND wnd, int id, int32_t& value) { value = WholeSigned(FieldText(wnd, id)).value_or(value); }

StepperDrive ReadStepperFields(HWND wnd, int axis)
{
    StepperDrive drive{g_leadscrew_lead[axis], g_motorSteps[axis], g_microsteps[axis]};
    ReadStepperField(wnd, IDC_CALC_LEAD, drive.lead);
    ReadStepperField(wnd, IDC_CALC_STEPS, drive.fullSteps);
    ReadStepperField(wnd, IDC_CALC_MICROSTEPS, drive.microsteps);
    return drive;
}

// The flash record's copy of the drive data (X..Q; the zoom has none).
void StoreRecordForms(int axis)
{
    if (axis >= kEncoderAxisCount)
        return;
    krv_user_box_data.distancePerMotorRevMm[axis] = g_leadscrew_lead[axis];
    krv_user_box_data.stepsPerRevDiv4[axis] = StepsByte(g_motorSteps[axis]);
    krv_user_box_data.microStepsPerStepDiv2[axis] = MicrostepsByte(g_microsteps[axis]);
}

void StoreDrive(int axis, const StepperDrive& drive)
{
    g_leadscrew_lead[axis] = drive.lead;
    g_motorSteps[axis] = drive.fullSteps;
    g_microsteps[axis] = drive.microsteps;
    StoreRecordForms(axis);
}

// Axis change, close box: zero entries take their defaults.
void StoreStepperFields(HWND wnd, int axis) { StoreDrive(axis, WithStepperDefaults(axis, ReadStepperFields(wnd, axis))); }

void ShowResult(HWND wnd, int id, const CalcResult& result)
{
    wchar_t text[kFieldTextCapacity];
    if (result)
        std::swprintf(text, kFieldTextCapacity, L"%d", *result);
    else
        std::swprintf(text, kFieldTextCapacity, L"?????");
    SetDlgItemTextW(wnd, id, text);
}

MotorCalcParams ParamsOf(int axis)
{
    return {g_param[kParamCyclesFactor], g_param[AxisParam(kParamCountsPerMm, axis)],
            g_param[AxisParam(kParamVelocity, axis)], g_param[AxisParam(kParamHoldingTorque, axis)], g_firmwareVersion};
}

CalcResults CalcStepper(HWND wnd, int axis)
{
    StepperDrive drive = WithStepperDefaults(axis, ReadStepperFields(wnd, axis));
    StoreDrive(axis, drive);
    return StepperResults(drive, ParamsOf(axis));
}

// An input that would divide by zero is not kept: the result shows "?????"
// and the axis keeps its last usable value.
CalcResults CalcBrushless(HWND wnd, int axis)
{
    BrushlessData entered = g_brushless[axis];
    ReadInt(wnd, IDC_CALC_POLE_PAIRS, entered.polePairs);
    ReadFloat(wnd, IDC_CALC_LEAD_PITCH, entered.leadPitch);
    ReadFloat(wnd, IDC_CALC_ROTATIONS, entered.rotations);
    float lag = static_cast<float>(entered.motorLag);
    ReadFloat(wnd, IDC_CALC_MOTOR_LAG, lag);
    // Held at the 32-bit range: 3e9 is no integer the board could take.
    entered.motorLag = TruncateToInt32(lag);

    BrushlessData& stored = g_brushless[axis];
    stored.polePairs = entered.polePairs;
    if (entered.leadPitch != 0.0f)
        stored.leadPitch = entered.leadPitch;
    if (entered.rotations != 0.0f)
        stored.rotations = entered.rotations;
    if (entered.motorLag != 0)
        stored.motorLag = entered.motorLag;
    return {BrushlessTorque(entered.polePairs, entered.leadPitch, entered.rotations),
            BrushlessPvNominal(entered.motorLag)};
}

void OnCalc(HWND wnd)
{
    const int axis = g_radio_last;
    ReadStepperField(wnd, IDC_CALC_LEAD, g_leadscrew_lead[axis]);
    CalcResults results;
    switch (LayoutOf(axis).formula) {
    case kStepperFormula: results = CalcStepper(wnd, axis); break;
    case kBrushlessFormula: results = CalcBrushless(wnd, axis); break;
    default: results.pvNominal = BrushedPvNominal(g_leadscrew_lead[axis], ParamsOf(axis)); break;
    }
    // The brushed formula leaves "Torque" as it is.
    if (LayoutOf(axis).formula != kBrushedFormula)
        ShowResult(wnd, IDC_CALC_TORQUE, results.torque);
    ShowResult(wnd, IDC_CALC_PV, results.pvNominal);
}

// "OK" takes the three stepper fields as they stand and decides, on every
// axis, whether the lead is believable.
void OnOk(HWND wnd)
{
    const int axis = g_radio_last;
    StepperDrive drive{g_leadscrew_lead[axis], g_motorSteps[axis], g_microsteps[axis]};
    ReadFloat(wnd, IDC_CALC_LEAD, drive.lead);
    ReadFloat(wnd, IDC_CALC_STEPS, drive.fullSteps);
    ReadFloat(wnd, IDC_CALC_MICROSTEPS, drive.microsteps);
    SetStepperCalibration(axis, drive.lead, drive.fullSteps, drive.microsteps);
    StoreRecordForms(axis);
    EndModal(wnd, 0);
}

void OnClose(HWND wnd)
{
    StoreStepperFields(wnd, g_radio_last);
    EndModal(wnd, 0);
}

void ShowAxis(HWND wnd, int axis)
{
    CheckAxisRadio(wnd, axis);
    Fill(wnd, axis);
    SetLayout(wnd, axis);
}

void OnAxisRadio(HWND wnd, int axis)
{
    StoreStepperFields(wnd, g_radio_last);
    g_radio_last = axis;
    ShowAxis(wnd, axis);
}

void OnInitDialog(HWND wnd)
{
    g_fields.Forget();
    ShowAxis(wnd, TakeOpeningAxis());
}

constexpr CommandRoute kRoutes[] = {
    {IDC_CALC_CALC, WindowHandler<OnCalc>},
    {IDC_CALC_OK, WindowHandler<OnOk>},
};
constexpr DialogBehaviour kBehaviour = {
    .init = OnInitDialog, .routes = kRoutes, .axisRadio = OnAxisRadio, .close = OnClose};

} // namespace

INT_PTR CALLBACK MotorCalculatorDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

void RunMotorCalculatorDialog(HWND owner) { RunModalDialog(owner, IDD_CALCULATOR, MotorCalculatorDlgProc); }

void ResetMotorCalculatorDialog()
{
    for (BrushlessData& data : g_brushless)
        data = BrushlessData{};
    g_fields.Forget();
}
