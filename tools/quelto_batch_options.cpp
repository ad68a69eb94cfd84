// The command line of quelto-batch, parsed with CLI11: the options, their checks and the help text.

#include "tools/quelto_batch_options.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <iostream>

namespace quelto::batch {
namespace {

std::optional<double> parseNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<Frame> parseFrame(const std::string& text) {
    double values[4];
    std::size_t start = 0;
    for (int index = 0; index < 4; ++index) {
        const std::size_t comma = text.find(',', start);
        if ((comma == std::string::npos) != (index == 3)) {
            return std::nullopt;
        }
        const std::optional<double> value = parseNumber(std::string_view(text).substr(start, comma - start));
        if (!value) {
            return std::nullopt;
        }
        values[index] = *value;
        start = comma + 1;
    }
    if (values[0] == values[2] || values[1] == values[3]) {
        return std::nullopt;
    }
    return Frame{AcGePoint3d(values[0], values[1], 0.0), AcGePoint3d(values[2], values[3], 0.0)};
}

std::string defaultModulePath(const char* programPath) {
    std::error_code ignored;
    const std::filesystem::path program = std::filesystem::canonical("/proc/self/exe", ignored);
    const std::filesystem::path folder =
        program.empty() ? std::filesystem::path(programPath).parent_path() : program.parent_path();
    // Build tree: <build>/tools/quelto-batch and <build>/quelto/libquelto.so; installed: bin/ and lib/.
    for (const std::filesystem::path& candidate :
         {folder / "../quelto/libquelto.so", folder / "../lib/libquelto.so", folder / "libquelto.so"}) {
        if (std::filesystem::exists(candidate, ignored)) {
            return std::filesystem::weakly_canonical(candidate, ignored).string();
        }
    }
    return "libquelto.so";
}

std::optional<BatchOptions> parseBatchOptions(int argc, const char* const* argv, int& exitCode) {
    BatchOptions options;
    std::vector<std::string> frameTexts;
    std::string config;
    std::string report;
    bool noProgress = false;

    CLI::App app{"Counts the entities that the module's configuration \"<批量处理配置>\" selects, in each "
                 "drawing, in the whole drawing or per frame.",
                 "quelto-batch"};
    app.add_option("drawings", options.drawings, "DXF drawings, processed and printed in this order")
        ->required();
    CLI::Option* frameOption =
        app.add_option("--frame", frameTexts, "a frame X1,Y1,X2,Y2 in model space (repeatable)")
            ->allow_extra_args(false)
            ->type_name("X1,Y1,X2,Y2");
    CLI::Option* layerOption =
        app.add_option("--frames-layer", options.framesLayer,
                       "the frames are the closed four-vertex rectangles on this layer");
    CLI::Option* blockOption = app.add_option("--frames-block", options.framesBlock,
                                              "the frames are the extents of every INSERT of this block");
    frameOption->excludes(layerOption, blockOption);
    layerOption->excludes(blockOption);
    app.add_option("--config", config, "run \"<批量处理配置>\" of this configuration file")
        ->check(CLI::ExistingFile);
    app.add_option("--module", options.module, "the module to load (default: libquelto.so of this build)");
    app.add_option("-j,--jobs", options.jobs, "worker processes (each drawing runs in its own process)")
        ->check(CLI::Range(1, 256));
    app.add_option("--report", report, "write one row per drawing and frame to FILE.csv or FILE.json")
        ->check([](const std::string& path) {
            const std::string extension = std::filesystem::path(path).extension().string();
            return extension == ".csv" || extension == ".json"
                       ? std::string()
                       : std::string("the report must end in .csv or .json");
        });
    app.add_option("--timeout", options.timeoutSeconds, "seconds a drawing may take (0: no limit)")
        ->check(CLI::NonNegativeNumber);
    app.add_flag("--no-progress", noProgress, "no progress display on standard error");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        exitCode = app.exit(error) == 0 ? kExitAllProcessed : kExitUsage;
        return std::nullopt;
    }
    for (const std::string& text : frameTexts) {
        const std::optional<Frame> frame = parseFrame(text);
        if (!frame) {
            std::cerr << "quelto-batch: --frame " << text
                      << ": expected four numbers X1,Y1,X2,Y2 of a frame with an area\n";
            exitCode = kExitUsage;
            return std::nullopt;
        }
        options.frames.push_back(*frame);
    }
    if (!frameTexts.empty()) {
        options.frameSource = FrameSource::Listed;
    } else if (layerOption->count() > 0) {
        options.frameSource = FrameSource::Layer;
    } else if (blockOption->count() > 0) {
        options.frameSource = FrameSource::Block;
    }
    if (!config.empty()) {
        options.config = std::filesystem::absolute(config).string();
    }
    if (!report.empty()) {
        options.report = report;
    }
    if (options.module.empty()) {
        options.module = defaultModulePath(argv[0]);
    }
    options.progress = !noProgress;
    return options;
}

} // namespace quelto::batch
