// Worker processes of quelto-batch: every drawing runs in a process of its own, forked from the main
// process once the module is loaded, so that a drawing that crashes or hangs its worker costs only
// itself. Up to `jobs` workers run at once; results come back in the order the drawings were given.
#pragma once

#include "tools/quelto_batch_worker.h"

#include <functional>
#include <vector>

namespace quelto::batch {

// Called in the main process with each result as soon as it and every earlier one are known.
using ResultCallback = std::function<void(std::size_t index, const DrawingResult& result)>;
// Called in the main process whenever a worker has ended, with the count of ended workers.
using ProgressCallback = std::function<void(std::size_t done)>;

std::vector<DrawingResult> runWorkers(const BatchOptions& options, const ModuleEntry& module,
                                      const ResultCallback& onResult, const ProgressCallback& onProgress);

} // namespace quelto::batch
