// Drawing the progress of quelto-batch: the bar text, the time texts and when to write them.

#include "tools/quelto_batch_progress.h"

#include <cmath>

namespace quelto::batch {

ProgressDisplay::ProgressDisplay(std::FILE* stream, std::size_t total, bool enabled, bool terminal)
    : m_stream(stream), m_total(total), m_enabled(enabled && total > 0), m_terminal(terminal) {}

double ProgressDisplay::elapsedSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_started).count();
}

std::string ProgressDisplay::durationText(double seconds) {
    const long total = std::lround(std::max(seconds, 0.0));
    char text[32];
    if (total >= 3600) {
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
    } else {
        std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    }
    return text;
}

std::string ProgressDisplay::barText(std::size_t done, std::size_t total, double elapsedSeconds,
                                     std::size_t width) {
    const std::size_t filled = total == 0 ? width : done * width / total;
    std::string text = "[" + std::string(filled, '#') + std::string(width - filled, '-') + "] " +
                       std::to_string(done) + "/" + std::to_string(total) + "  " +
                       durationText(elapsedSeconds) + " elapsed";
    if (done > 0 && done < total) {
        const double left = elapsedSeconds / static_cast<double>(done) * static_cast<double>(total - done);
        text += ", about " + durationText(left) + " left";
    }
    return text;
}

void ProgressDisplay::update(std::size_t done) {
    m_done = done;
    if (!m_enabled) {
        return;
    }
    if (m_terminal) {
        std::fprintf(m_stream, "\r%s\033[K", barText(done, m_total, elapsedSeconds(), 30).c_str());
        std::fflush(m_stream);
        m_barShown = true;
        return;
    }
    const std::size_t tenth = done * 10 / m_total;
    if (tenth == m_lastTenth) {
        return;
    }
    m_lastTenth = tenth;
    std::fprintf(m_stream, "quelto-batch: %s\n", barText(done, m_total, elapsedSeconds(), 20).c_str());
    std::fflush(m_stream);
}

void ProgressDisplay::writeAbove(std::FILE* output, const std::string& line) {
    const bool redraw = m_barShown;
    if (m_barShown) {
        std::fprintf(m_stream, "\r\033[K");
        std::fflush(m_stream);
        m_barShown = false;
    }
    std::fprintf(output, "%s\n", line.c_str());
    std::fflush(output);
    if (redraw) {
        update(m_done);
    }
}

void ProgressDisplay::finish() {
    if (m_enabled && m_terminal && m_barShown) {
        std::fprintf(m_stream, "\n");
        std::fflush(m_stream);
        m_barShown = false;
    }
}

} // namespace quelto::batch
