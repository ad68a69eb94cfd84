// What quelto-batch learns about one drawing, how a worker process hands it to the main process (one
// JSON object), the line printed per drawing, and the report file: one row per drawing and frame, as
// CSV or JSON.
#pragma once

#include "tools/quelto_batch_options.h"

#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <vector>

namespace quelto::batch {

struct DrawingResult {
    std::string path;
    bool perFrame = false;
    std::vector<Frame> frames;
    std::string text;         // the module's result text, UTF-8
    int returned = 0;         // what KVB_OnCommandMessage returned
    int success = 0;          // the module's success flag
    std::vector<long> counts; // one per frame, or the count of the whole drawing
    std::string error;        // why the drawing could not be processed; empty when it was

    bool processed() const { return error.empty(); }
};

// The counts a result text holds: "共12个" gives {12}, "12+0+3" gives {12, 0, 3}; nothing for any other
// text ("没有图框").
std::optional<std::vector<long>> countsOfResultText(const std::string& text, bool perFrame);

nlohmann::json toJson(const DrawingResult& result);
// Nothing when the text is not a complete result (a worker that died while writing it).
std::optional<DrawingResult> resultFromJson(const std::string& text);

// "PATH: TEXT (success N)", or "PATH: failed: ERROR".
std::string resultLine(const DrawingResult& result);

// Writes every row; false (and `error` says why) when the file cannot be written.
bool writeReport(const std::string& path, const std::vector<DrawingResult>& results, std::string& error);

} // namespace quelto::batch
