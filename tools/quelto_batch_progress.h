// The progress display of quelto-batch on standard error: a bar redrawn in place on a terminal
// (drawings done of the total, time elapsed, an estimate of the time left), plain lines at every tenth
// of the batch otherwise, so that logs stay short.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>

namespace quelto::batch {

class ProgressDisplay {
public:
    // `terminal`: redraw a bar in place; otherwise write lines. Disabled: shows nothing.
    ProgressDisplay(std::FILE* stream, std::size_t total, bool enabled, bool terminal);

    void update(std::size_t done);
    // Writes the line (with its newline) to `output` with the bar taken off the terminal line and drawn
    // again below it.
    void writeAbove(std::FILE* output, const std::string& line);
    void finish();

    // "[#####-----] 12/200  0:05 elapsed, about 0:30 left"; the estimate is missing until one is done.
    static std::string barText(std::size_t done, std::size_t total, double elapsedSeconds, std::size_t width);
    static std::string durationText(double seconds);

private:
    double elapsedSeconds() const;

    std::FILE* m_stream;
    std::size_t m_total;
    bool m_enabled;
    bool m_terminal;
    bool m_barShown = false;
    std::size_t m_done = 0;
    std::size_t m_lastTenth = 0;
    std::chrono::steady_clock::time_point m_started = std::chrono::steady_clock::now();
};

} // namespace quelto::batch
