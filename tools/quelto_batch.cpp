// quelto-batch: the batch caller of the module. It loads libquelto.so into the host, then runs every
// drawing given on its command line in a worker process of its own, asks the module to count what the
// configuration "<批量处理配置>" selects (whole drawing or per frame), prints the results in the order
// the drawings were given and writes an optional CSV or JSON report.

#include "cad/app/command_processor.h"
#include "cad/app/module_manager.h"
#include "cad/ed/command_line.h"
#include "tools/quelto_batch_progress.h"
#include "tools/quelto_batch_runner.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <unistd.h>

namespace {

// The module hands its text over in the system's multibyte code set, which is the locale's. A plain
// "C" locale has only ASCII, which cannot hold the Chinese result texts; the terminals of this system
// are UTF-8, so that is used instead.
void chooseSystemCodeSet() {
    std::setlocale(LC_CTYPE, "");
    const char* codeSet = nl_langinfo(CODESET);
    if (codeSet == nullptr || std::strcmp(codeSet, "ANSI_X3.4-1968") == 0) {
        std::setlocale(LC_CTYPE, "C.UTF-8");
    }
}

} // namespace

int main(int argc, char** argv) {
    using namespace quelto::batch;
    int exitCode = kExitAllProcessed;
    const std::optional<BatchOptions> options = parseBatchOptions(argc, argv, exitCode);
    if (!options) {
        return exitCode;
    }
    chooseSystemCodeSet();
    if (options->config) {
        ::setenv("QUELTO_BATCH_CONFIG", options->config->c_str(), 1);
    }

    cad::app::CommandProcessor::instance().registerHostCommands();
    // What the module prints while it loads (its banner) is not part of the results.
    cad::ed::QueuedCommandLine loadOutput;
    const cad::ed::ScopedCommandLine loadOutputScope(loadOutput);
    std::string error;
    const std::optional<ModuleEntry> module = loadBatchModule(options->module, error);
    if (!module) {
        std::fprintf(stderr, "quelto-batch: %s\n", error.c_str());
        return kExitSomeFailed;
    }

    ProgressDisplay progress(stderr, options->drawings.size(), options->progress,
                             ::isatty(STDERR_FILENO) != 0);
    bool anyFailed = false;
    const std::vector<DrawingResult> results = runWorkers(
        *options, *module,
        [&](std::size_t, const DrawingResult& result) {
            if (result.processed()) {
                progress.writeAbove(stdout, resultLine(result));
            } else {
                anyFailed = true;
                progress.writeAbove(stderr, "quelto-batch: " + resultLine(result));
            }
        },
        [&](std::size_t done) { progress.update(done); });
    progress.finish();

    if (options->report && !writeReport(*options->report, results, error)) {
        std::fprintf(stderr, "quelto-batch: %s\n", error.c_str());
        anyFailed = true;
    }
    cad::app::ModuleManager::instance().unloadAll();
    return anyFailed ? kExitSomeFailed : kExitAllProcessed;
}
