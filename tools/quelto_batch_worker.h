// One drawing as quelto-batch runs it inside a worker process: open it in the host, find its frames,
// hand the module the request record, read back the text and the success flag, give the text back.
// The module is loaded once, in the main process, before the workers start.
#pragma once

#include "quelto/host/kvb_batch_interface.h"
#include "tools/quelto_batch_report.h"

#include <optional>
#include <string>

class AcDbDatabase;

namespace quelto::batch {

struct ModuleEntry {
    KVB_OnCommandMessageFunction onCommandMessage = nullptr;
    KVB_ReleaseTextFunction releaseText = nullptr;
};

// Loads the module into the host: a module with an entry point gets the host's load message like any
// other; the batch functions are then found by name. Nothing (and `error` says why) on failure.
std::optional<ModuleEntry> loadBatchModule(const std::string& path, std::string& error);

// Closed lightweight polylines of four vertices with sides parallel to the axes, on the layer (letter
// case ignored), in model space in drawing order.
std::vector<Frame> framesOnLayer(const AcDbDatabase& database, const std::string& layer);
// The extents of every INSERT of the block (letter case ignored) in model space, in drawing order.
std::vector<Frame> framesOfBlock(const AcDbDatabase& database, const std::string& block);

// Runs the request on the drawing, opened as the current document. The document stays open: a worker
// process ends after its drawing, and tearing down a large drawing would only cost time.
DrawingResult processDrawing(const BatchOptions& options, const std::string& path, const ModuleEntry& module);

} // namespace quelto::batch
