#include "ui/modal.h"

#include <map>

namespace {

ModalDialogVisitor g_visitor;

struct VisitedDialog {
    bool ended = false;
    INT_PTR result = -1;
};
// The dialogs a visitor is driving; nested ones (a box from a dialog) too.
std::map<HWND, VisitedDialog> g_visited;

INT_PTR RunVisited(HWND owner, int templateId, DLGPROC proc)
{
    const ModalDialogVisitor visitor = g_visitor;
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, proc, 0);
    if (!dialog)
        return -1;
    g_visited[dialog] = {};
    const bool ownerWasEnabled = owner && !EnableWindow(owner, FALSE);
    visitor(dialog);
    const INT_PTR result = g_visited[dialog].result;
    g_visited.erase(dialog);
    if (IsWindow(dialog))
        DestroyWindow(dialog);
    if (ownerWasEnabled)
        EnableWindow(owner, TRUE);
    return result;
}

} // namespace

INT_PTR RunModalDialog(HWND owner, int templateId, DLGPROC proc)
{
    if (g_visitor)
        return RunVisited(owner, templateId, proc);
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, proc, 0);
}

void EndModalDialog(HWND dialog, INT_PTR result)
{
    auto visited = g_visited.find(dialog);
    if (visited == g_visited.end()) {
        EndDialog(dialog, result);
        return;
    }
    if (visited->second.ended)
        return;
    visited->second = {true, result};
    ShowWindow(dialog, SW_HIDE);
}

bool ModalDialogEnded(HWND dialog)
{
    auto visited = g_visited.find(dialog);
    return visited == g_visited.end() || visited->second.ended;
}

void InstallModalDialogVisitor(ModalDialogVisitor visitor) { g_visitor = std::move(visitor); }
