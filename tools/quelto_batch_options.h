// The command line of quelto-batch: the drawings, where the frames come from (none: the whole drawing),
// the configuration file, the module, the worker count, the report file and the progress display.
#pragma once

#include "cad/ge/point3d.h"

#include <optional>
#include <string>
#include <vector>

namespace quelto::batch {

// One rectangular window in world coordinates of model space, by two opposite corners.
struct Frame {
    AcGePoint3d first;
    AcGePoint3d second;
};

enum class FrameSource {
    WholeDrawing, // message 0
    Listed,       // --frame, the same frames in every drawing
    Layer,        // --frames-layer: closed four-vertex rectangles on the layer, per drawing
    Block,        // --frames-block: the extents of every INSERT of the block, per drawing
};

struct BatchOptions {
    std::vector<std::string> drawings;
    FrameSource frameSource = FrameSource::WholeDrawing;
    std::vector<Frame> frames;
    std::string framesLayer;
    std::string framesBlock;
    std::optional<std::string> config; // absolute path
    std::string module;                // libquelto.so
    int jobs = 1;
    std::optional<std::string> report;
    double timeoutSeconds = 0.0; // 0: no limit
    bool progress = true;
};

// Exit statuses.
inline constexpr int kExitAllProcessed = 0;
inline constexpr int kExitSomeFailed = 1;
inline constexpr int kExitUsage = 2;

// Parses the arguments (argv[0] included). Nothing when the program is to end at once with `exitCode`
// (help printed: 0; bad usage, message printed on stderr: 2).
std::optional<BatchOptions> parseBatchOptions(int argc, const char* const* argv, int& exitCode);

// "X1,Y1,X2,Y2" (blanks allowed around the numbers); nothing when the text is not four numbers or the
// frame has no area.
std::optional<Frame> parseFrame(const std::string& text);

// libquelto.so beside the program's own folder in the build tree or the installation.
std::string defaultModulePath(const char* programPath);

} // namespace quelto::batch
