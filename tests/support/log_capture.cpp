#include "tests/support/log_capture.h"

#include "infra/log.h"
#include "tools/logview/list_add_tap.h"
#include "tools/logview/log_drain.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace log_channel;

namespace {

// Any other viewer could be the one the writers find first.
void ExpectNoOtherViewer(HWND own)
{
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, nullptr, kViewerTitle)) != nullptr) {
        if (window != own)
            ADD_FAILURE() << "another log viewer is running; close it for the tests";
    }
}

} // namespace

LogCapture::LogCapture() : drain_(std::make_unique<LogDrain>())
{
    // A top-level window of any class will do; the writers only look for its title.
    window_ = CreateWindowExW(0, L"STATIC", kViewerTitle, WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                              nullptr);
    list_ = CreateWindowExW(0, L"LISTBOX", nullptr, WS_CHILD, 0, 0, 0, 0, window_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kViewerListId)), nullptr, nullptr);
    EXPECT_TRUE(window_ != nullptr && list_ != nullptr) << "cannot create the log capture window";
    EXPECT_TRUE(drain_->Open()) << "cannot open the log channel";
    ExpectNoOtherViewer(window_);
    drain_->Discard();
    tap_ = std::make_unique<ListAddTap>(list_, [this](const wchar_t* line) { lines_.push_back(ToUtf8(line)); });
}

LogCapture::~LogCapture()
{
    tap_.reset();
    DestroyWindow(window_);
}

void LogCapture::Drain()
{
    if (!drain_->DrainInto(list_))
        ADD_FAILURE() << "the log channel's lock was not obtained";
}

std::vector<std::string> LogCapture::Lines()
{
    Drain();
    return lines_;
}

bool LogCapture::HasLine(std::string_view line)
{
    Drain();
    return std::find(lines_.begin(), lines_.end(), line) != lines_.end();
}

void LogCapture::Clear()
{
    Drain();
    lines_.clear();
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
}
