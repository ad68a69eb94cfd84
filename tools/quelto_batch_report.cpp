// Results of quelto-batch: the counts read back from the module's result text, the JSON object a worker
// writes to its pipe, the printed line and the report rows. Numbers are written in their shortest exact
// form so that a report reads back to the same corners.

#include "tools/quelto_batch_report.h"

#include "platform/atomic_file.h"

#include <charconv>
#include <nlohmann/json.hpp>
#include <sstream>

namespace quelto::batch {
namespace {

constexpr std::string_view kWholePrefix = "共";
constexpr std::string_view kWholeSuffix = "个";

std::optional<long> parseCount(std::string_view text) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

std::string numberText(double value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : std::string("nan");
}

nlohmann::json pointJson(const AcGePoint3d& point) {
    return nlohmann::json::array({point.x, point.y, point.z});
}

AcGePoint3d pointFromJson(const nlohmann::json& value) {
    return {value.at(0).get<double>(), value.at(1).get<double>(), value.at(2).get<double>()};
}

// One report row: a drawing, or one frame of it (frame number from 1).
struct Row {
    const DrawingResult* result = nullptr;
    std::optional<std::size_t> frame;
    std::optional<long> count;
};

std::vector<Row> rowsOf(const std::vector<DrawingResult>& results) {
    std::vector<Row> rows;
    for (const DrawingResult& result : results) {
        const bool countsKnown =
            result.processed() && result.counts.size() == std::max<std::size_t>(result.frames.size(), 1);
        if (!result.perFrame || result.frames.empty()) {
            rows.push_back({&result, std::nullopt,
                            countsKnown && !result.perFrame ? std::optional<long>(result.counts.front())
                                                            : std::nullopt});
            continue;
        }
        for (std::size_t index = 0; index < result.frames.size(); ++index) {
            rows.push_back(
                {&result, index, countsKnown ? std::optional<long>(result.counts[index]) : std::nullopt});
        }
    }
    return rows;
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char character : text) {
        if (character == '"') {
            quoted += '"';
        }
        quoted += character;
    }
    return quoted + "\"";
}

void writeCsv(std::ostream& stream, const std::vector<Row>& rows) {
    stream << "path,frame,x1,y1,x2,y2,count,success,text,error\n";
    for (const Row& row : rows) {
        const DrawingResult& result = *row.result;
        stream << csvField(result.path) << ',';
        if (row.frame) {
            const Frame& frame = result.frames[*row.frame];
            stream << *row.frame + 1 << ',' << numberText(frame.first.x) << ',' << numberText(frame.first.y)
                   << ',' << numberText(frame.second.x) << ',' << numberText(frame.second.y) << ',';
        } else {
            stream << ",,,,,";
        }
        stream << (row.count ? std::to_string(*row.count) : std::string()) << ',' << result.success << ','
               << csvField(result.text) << ',' << csvField(result.error) << '\n';
    }
}

void writeJson(std::ostream& stream, const std::vector<Row>& rows) {
    nlohmann::json array = nlohmann::json::array();
    for (const Row& row : rows) {
        const DrawingResult& result = *row.result;
        nlohmann::json item = {{"path", result.path}, {"frame", nullptr}, {"corner1", nullptr},
                               {"corner2", nullptr},  {"count", nullptr}, {"success", result.success},
                               {"text", result.text}, {"error", nullptr}};
        if (row.frame) {
            const Frame& frame = result.frames[*row.frame];
            item["frame"] = *row.frame + 1;
            item["corner1"] = {frame.first.x, frame.first.y};
            item["corner2"] = {frame.second.x, frame.second.y};
        }
        if (row.count) {
            item["count"] = *row.count;
        }
        if (!result.processed()) {
            item["error"] = result.error;
        }
        array.push_back(std::move(item));
    }
    stream << array.dump(2) << '\n';
}

} // namespace

std::optional<std::vector<long>> countsOfResultText(const std::string& text, bool perFrame) {
    std::vector<long> counts;
    if (!perFrame) {
        if (!text.starts_with(kWholePrefix) || !text.ends_with(kWholeSuffix) ||
            text.size() <= kWholePrefix.size() + kWholeSuffix.size()) {
            return std::nullopt;
        }
        const std::optional<long> count = parseCount(std::string_view(text).substr(
            kWholePrefix.size(), text.size() - kWholePrefix.size() - kWholeSuffix.size()));
        if (!count) {
            return std::nullopt;
        }
        counts.push_back(*count);
        return counts;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t plus = text.find('+', start);
        const std::optional<long> count = parseCount(std::string_view(text).substr(start, plus - start));
        if (!count) {
            return std::nullopt;
        }
        counts.push_back(*count);
        if (plus == std::string::npos) {
            return counts;
        }
        start = plus + 1;
    }
}

nlohmann::json toJson(const DrawingResult& result) {
    nlohmann::json frames = nlohmann::json::array();
    for (const Frame& frame : result.frames) {
        frames.push_back({pointJson(frame.first), pointJson(frame.second)});
    }
    return {{"path", result.path},     {"perFrame", result.perFrame}, {"frames", frames},
            {"text", result.text},     {"returned", result.returned}, {"success", result.success},
            {"counts", result.counts}, {"error", result.error}};
}

std::optional<DrawingResult> resultFromJson(const std::string& text) {
    const nlohmann::json value = nlohmann::json::parse(text, nullptr, false);
    if (value.is_discarded() || !value.is_object()) {
        return std::nullopt;
    }
    try {
        DrawingResult result;
        result.path = value.at("path").get<std::string>();
        result.perFrame = value.at("perFrame").get<bool>();
        for (const nlohmann::json& frame : value.at("frames")) {
            result.frames.push_back({pointFromJson(frame.at(0)), pointFromJson(frame.at(1))});
        }
        result.text = value.at("text").get<std::string>();
        result.returned = value.at("returned").get<int>();
        result.success = value.at("success").get<int>();
        result.counts = value.at("counts").get<std::vector<long>>();
        result.error = value.at("error").get<std::string>();
        return result;
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
}

std::string resultLine(const DrawingResult& result) {
    if (!result.processed()) {
        return result.path + ": failed: " + result.error;
    }
    return result.path + ": " + result.text + " (success " + std::to_string(result.success) + ")";
}

bool writeReport(const std::string& path, const std::vector<DrawingResult>& results, std::string& error) {
    std::ostringstream stream;
    const std::vector<Row> rows = rowsOf(results);
    if (path.ends_with(".json")) {
        writeJson(stream, rows);
    } else {
        writeCsv(stream, rows);
    }
    return platform::writeFileAtomically(path, stream.str(), &error);
}

} // namespace quelto::batch
