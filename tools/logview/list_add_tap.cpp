#include "tools/logview/list_add_tap.h"

namespace {

constexpr wchar_t kTapProperty[] = L"StagetuneListAddTap";

} // namespace

ListAddTap::ListAddTap(HWND list, Sink sink)
    : list_(list), original_(nullptr), sink_(std::move(sink))
{
    SetPropW(list_, kTapProperty, this);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListAddTap::Procedure)));
}

ListAddTap::~ListAddTap()
{
    if (!IsWindow(list_))
        return;
    SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    RemovePropW(list_, kTapProperty);
}

LRESULT CALLBACK ListAddTap::Procedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* tap = static_cast<ListAddTap*>(GetPropW(list, kTapProperty));
    const LRESULT result = CallWindowProcW(tap->original_, list, message, wParam, lParam);
    if (message == LB_ADDSTRING && lParam != 0)
        tap->sink_(reinterpret_cast<const wchar_t*>(lParam));
    return result;
}
