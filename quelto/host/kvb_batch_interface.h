// What a batch program calls to have the module count matches of the stored configuration
// "<批量处理配置>" in the open drawing: the request record it passes, KVB_OnCommandMessage, and
// KVB_ReleaseText, with which it gives back the result text the module allocated.
#pragma once

#include "platform/export.h"

#include <cstddef>
#include <cstdint>

// The layout of the host SDK's 3D point array (AcGePoint3dArray): the module reads `data` and
// `length`; `allocated` and `growBy` are the owner's business.
struct KVB_POINT3D_ARRAY {
    double* data;           // `length` points, three doubles (x, y, z) each
    std::int32_t allocated; // points the storage holds
    std::int32_t length;    // points in use
    std::int32_t growBy;
};

// The request record. Only the interface version and the two corner arrays are read; the module
// never writes into the record.
struct KVB_BATCH_REQUEST {
    void* reserved0;
    std::int32_t version; // must be KVB_INTERFACE_VERSION
    std::int32_t reserved1[5];
    KVB_POINT3D_ARRAY firstCorners;  // first corner of every frame; its length is the frame count
    KVB_POINT3D_ARRAY secondCorners; // opposite corner of every frame, at least as many points
};

static_assert(offsetof(KVB_BATCH_REQUEST, version) == 8);
static_assert(offsetof(KVB_BATCH_REQUEST, firstCorners) == 32);
static_assert(offsetof(KVB_BATCH_REQUEST, firstCorners) + offsetof(KVB_POINT3D_ARRAY, length) == 44);
static_assert(offsetof(KVB_BATCH_REQUEST, secondCorners) == 56);

inline constexpr std::int32_t KVB_INTERFACE_VERSION = 1;

// Messages of KVB_OnCommandMessage.
inline constexpr std::int32_t KVB_COUNT_WHOLE_DRAWING = 0;
inline constexpr std::int32_t KVB_COUNT_PER_FRAME = 1;

extern "C" {

// Runs "<批量处理配置>" on the current drawing: message 0 counts in the whole drawing ("共12个"),
// message 1 inside each frame of the request ("12+0+3", or "没有图框" without frames). On return
// `*text` holds the result text in the system's multibyte code set, zero-terminated, allocated by the
// module: give it back with KVB_ReleaseText. `*success` is 1, or 0 when the run failed. Returns 1
// when the message ran, 0 when it failed; a request of another interface version is refused with a
// message on the command line and leaves `*text` and `*success` untouched. Another message number
// runs nothing and returns 0.
//
// The configuration file is the module's usual one; a batch program may name another in the
// environment variable QUELTO_BATCH_CONFIG, which only this function reads.
QUELTO_EXPORT std::int32_t KVB_OnCommandMessage(std::int32_t message, const void* request, char** text,
                                                std::int32_t* success);

// Releases a text handed out by KVB_OnCommandMessage; null is allowed.
QUELTO_EXPORT void KVB_ReleaseText(char* text);
}

using KVB_OnCommandMessageFunction = std::int32_t (*)(std::int32_t, const void*, char**, std::int32_t*);
using KVB_ReleaseTextFunction = void (*)(char*);
