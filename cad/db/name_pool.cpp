// The process-wide pool behind cad::db::Name. Texts live in fixed-size chunks that never move, so
// reading a name (done for every entity a selection looks at) takes no lock; only interning does.
#include "cad/db/name_pool.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace cad::db {
namespace {

constexpr std::uint32_t kChunkBits = 12;
constexpr std::uint32_t kChunkSize = 1U << kChunkBits;
constexpr std::uint32_t kChunkCount = 4096;

struct Pool {
    std::mutex mutex;
    std::array<std::atomic<std::wstring*>, kChunkCount> chunks{};
    std::uint32_t count = 1; // index 0 is the empty text
    std::unordered_map<std::wstring_view, std::uint32_t> indexes;

    Pool() { chunks[0].store(new std::wstring[kChunkSize], std::memory_order_release); }
    ~Pool() {
        for (auto& chunk : chunks) {
            delete[] chunk.load();
        }
    }
};

Pool& pool() {
    static Pool instance;
    return instance;
}

} // namespace

Name::Name(std::wstring_view text) {
    if (text.empty()) {
        return;
    }
    // New objects intern the same default names ("0", "ByLayer") one after another: the last name
    // this thread interned is checked first, without the lock. Texts never move or change once
    // interned, so reading the cached one needs no lock either.
    thread_local std::uint32_t lastIndex = 0;
    if (lastIndex != 0) {
        m_index = lastIndex;
        if (this->text() == text) {
            return;
        }
        m_index = 0;
    }
    Pool& names = pool();
    const std::lock_guard lock(names.mutex);
    const auto found = names.indexes.find(text);
    if (found != names.indexes.end()) {
        m_index = found->second;
        lastIndex = m_index;
        return;
    }
    const std::uint32_t index = names.count;
    const std::uint32_t chunk = index >> kChunkBits;
    if (chunk >= kChunkCount) {
        __builtin_trap(); // sixteen million distinct names: a bug, not a drawing
    }
    if (names.chunks[chunk].load(std::memory_order_relaxed) == nullptr) {
        names.chunks[chunk].store(new std::wstring[kChunkSize], std::memory_order_release);
    }
    std::wstring& stored = names.chunks[chunk].load(std::memory_order_relaxed)[index & (kChunkSize - 1)];
    stored = text;
    names.indexes.emplace(stored, index);
    names.count = index + 1;
    m_index = index;
    lastIndex = index;
}

const std::wstring& Name::text() const {
    const std::wstring* chunk = pool().chunks[m_index >> kChunkBits].load(std::memory_order_acquire);
    return chunk[m_index & (kChunkSize - 1)];
}

} // namespace cad::db
