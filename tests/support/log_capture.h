#pragma once
// A log viewer inside the test process: a hidden window titled "Tavrosen Log"
// with list box 123 on the calling thread, so that every line the code under
// test writes reaches it through the real log channel.
//
//     LogCapture log;
//     ... exercise the code ...
//     EXPECT_EQ(log.Lines(), (std::vector<std::string>{"first line", "second line"}));
//     EXPECT_TRUE(log.HasLine("second line"));
//
// Lines come in the order written, whether drained from the shared buffer or
// flushed straight into the list box by a writer whose buffer was full.
// A writer in another thread or process that flushes waits until this
// thread calls Lines(), HasLine() or Clear().
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class LogDrain;
class ListAddTap;

class LogCapture {
public:
    // Text left pending by earlier viewers is thrown away.
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Every line captured since construction or the last Clear(), oldest
    // first, UTF-8 without the line feed. An unfinished last line is not
    // there until its line feed is written.
    std::vector<std::string> Lines();
    // Whether one of Lines() is exactly `line`.
    bool HasLine(std::string_view line);
    // Forgets every line captured so far, including complete lines still in
    // the buffer, and empties the list box.
    void Clear();

    // The list box the writers flush into, for tests of the channel itself.
    HWND List() const { return list_; }

private:
    void Drain();

    HWND window_ = nullptr;
    HWND list_ = nullptr;
    std::unique_ptr<LogDrain> drain_;
    std::unique_ptr<ListAddTap> tap_;
    std::vector<std::string> lines_;
};
