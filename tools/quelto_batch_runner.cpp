// Forking, watching and collecting the worker processes of quelto-batch. A worker writes its result as
// one JSON object into a pipe and ends; the main process reads the pipes with poll, so a worker that
// dies mid-way (crash, out of memory, killed for its time limit) is seen by its exit status and turned
// into an error for its drawing alone.

#include "tools/quelto_batch_runner.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <nlohmann/json.hpp>
#include <optional>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quelto::batch {
namespace {

using Clock = std::chrono::steady_clock;

struct Worker {
    pid_t pid = -1;
    int pipe = -1;
    std::size_t index = 0;
    std::string output;
    Clock::time_point started;
    bool timedOut = false;
};

void writeAll(int descriptor, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(descriptor, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return;
        }
        written += static_cast<std::size_t>(count);
    }
}

[[noreturn]] void runChild(const BatchOptions& options, const ModuleEntry& module, std::size_t index,
                           int pipe) {
    const DrawingResult result = processDrawing(options, options.drawings[index], module);
    writeAll(pipe, toJson(result).dump());
    ::close(pipe);
    // Skips the teardown of the drawing and the host: the process ends here and the kernel frees it all.
    ::_exit(0);
}

std::optional<Worker> startWorker(const BatchOptions& options, const ModuleEntry& module, std::size_t index,
                                  std::string& error) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        error = std::string("cannot create a pipe for the worker: ") + std::strerror(errno);
        return std::nullopt;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        error = std::string("cannot start a worker process: ") + std::strerror(errno);
        ::close(ends[0]);
        ::close(ends[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        ::close(ends[0]);
        runChild(options, module, index, ends[1]);
    }
    ::close(ends[1]);
    Worker worker;
    worker.pid = pid;
    worker.pipe = ends[0];
    worker.index = index;
    worker.started = Clock::now();
    return worker;
}

std::string exitError(int status, const Worker& worker, double timeoutSeconds) {
    if (worker.timedOut) {
        char text[64];
        std::snprintf(text, sizeof text, "%g", timeoutSeconds);
        return std::string("the drawing took longer than ") + text + " s; its worker was stopped";
    }
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        return "the worker process died of signal " + std::to_string(signal) + " (" + ::strsignal(signal) +
               ")";
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
        return "the worker process ended with status " + std::to_string(WEXITSTATUS(status));
    }
    return "the worker process ended without a result";
}

DrawingResult finishWorker(const BatchOptions& options, Worker& worker) {
    ::close(worker.pipe);
    int status = 0;
    while (::waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
    }
    std::optional<DrawingResult> result;
    if (!worker.timedOut && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        result = resultFromJson(worker.output);
    }
    if (result) {
        return *result;
    }
    DrawingResult failed;
    failed.path = options.drawings[worker.index];
    failed.perFrame = options.frameSource != FrameSource::WholeDrawing;
    if (options.frameSource == FrameSource::Listed) {
        failed.frames = options.frames;
    }
    failed.error = exitError(status, worker, options.timeoutSeconds);
    return failed;
}

// Milliseconds until the earliest time limit, or -1 without limits.
int pollTimeout(const BatchOptions& options, const std::vector<Worker>& running) {
    if (options.timeoutSeconds <= 0.0 || running.empty()) {
        return -1;
    }
    const auto limit =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options.timeoutSeconds));
    Clock::time_point earliest = Clock::time_point::max();
    for (const Worker& worker : running) {
        earliest = std::min(earliest, worker.started + limit);
    }
    const auto remaining =
        std::chrono::duration_cast<std::chrono::milliseconds>(earliest - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(remaining + 1, 0, 60'000));
}

void stopLateWorkers(const BatchOptions& options, std::vector<Worker>& running) {
    if (options.timeoutSeconds <= 0.0) {
        return;
    }
    const auto limit =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options.timeoutSeconds));
    for (Worker& worker : running) {
        if (!worker.timedOut && Clock::now() >= worker.started + limit) {
            ::kill(worker.pid, SIGKILL);
            worker.timedOut = true;
        }
    }
}

// Reads what the worker wrote; true once its pipe is closed.
bool readFromWorker(Worker& worker) {
    char buffer[65536];
    while (true) {
        const ssize_t count = ::read(worker.pipe, buffer, sizeof buffer);
        if (count > 0) {
            worker.output.append(buffer, static_cast<std::size_t>(count));
            return false;
        }
        if (count < 0 && errno == EINTR) {
            continue;
        }
        return true;
    }
}

} // namespace

std::vector<DrawingResult> runWorkers(const BatchOptions& options, const ModuleEntry& module,
                                      const ResultCallback& onResult, const ProgressCallback& onProgress) {
    const std::size_t total = options.drawings.size();
    std::vector<std::optional<DrawingResult>> results(total);
    std::vector<Worker> running;
    std::size_t next = 0;
    std::size_t reported = 0;
    std::size_t done = 0;

    while (done < total) {
        while (running.size() < static_cast<std::size_t>(options.jobs) && next < total) {
            std::string error;
            if (std::optional<Worker> worker = startWorker(options, module, next, error)) {
                running.push_back(std::move(*worker));
            } else {
                DrawingResult failed;
                failed.path = options.drawings[next];
                failed.error = error;
                results[next] = std::move(failed);
                onProgress(++done);
            }
            ++next;
        }
        std::vector<pollfd> descriptors;
        for (const Worker& worker : running) {
            descriptors.push_back({worker.pipe, POLLIN, 0});
        }
        if (!descriptors.empty() &&
            ::poll(descriptors.data(), descriptors.size(), pollTimeout(options, running)) < 0 &&
            errno != EINTR) {
            // Watching is impossible (out of memory): stop the running workers, whose drawings then fail.
            for (pollfd& descriptor : descriptors) {
                descriptor.revents = POLLERR;
            }
            for (Worker& worker : running) {
                ::kill(worker.pid, SIGKILL);
            }
        }
        for (std::size_t slot = descriptors.size(); slot-- > 0;) {
            if ((descriptors[slot].revents & (POLLIN | POLLHUP | POLLERR)) == 0 ||
                !readFromWorker(running[slot])) {
                continue;
            }
            const std::size_t index = running[slot].index;
            results[index] = finishWorker(options, running[slot]);
            running.erase(running.begin() + static_cast<std::ptrdiff_t>(slot));
            onProgress(++done);
        }
        stopLateWorkers(options, running);
        while (reported < total && results[reported]) {
            onResult(reported, *results[reported]);
            ++reported;
        }
    }
    std::vector<DrawingResult> ordered;
    ordered.reserve(total);
    for (std::optional<DrawingResult>& result : results) {
        ordered.push_back(std::move(*result));
    }
    return ordered;
}

} // namespace quelto::batch
