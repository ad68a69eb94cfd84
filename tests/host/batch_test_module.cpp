// A stand-in module for the tests of quelto-batch's own machinery: it answers the batch entry with the
// number of entities in the drawing or in each frame, and misbehaves on purpose for drawings whose file
// name asks for it ("crash", "hang", "msgbox"), so that the tool's handling of failing workers is tested
// without breaking the real module.

#include "cad/app/document_manager.h"
#include "cad/ed/selection_set.h"
#include "platform/code_page.h"
#include "platform/message_box.h"
#include "platform/wide_text.h"
#include "quelto/host/kvb_batch_interface.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

// Only lines count, so that the frames themselves never do.
long countLines(const ACHAR* mode, const double* first, const double* second) {
    resbuf* filter = acutBuildList(RTDXF0, L"LINE", 0);
    ads_name set;
    const int status = acedSSGet(mode, first, second, filter, set);
    acutRelRb(filter);
    if (status != RTNORM) {
        return 0;
    }
    std::int32_t length = 0;
    acedSSLength(set, &length);
    acedSSFree(set);
    return length;
}

} // namespace

std::int32_t KVB_OnCommandMessage(std::int32_t message, const void* request, char** text,
                                  std::int32_t* success) {
    const auto* record = static_cast<const KVB_BATCH_REQUEST*>(request);
    const std::wstring name = curDoc()->fileName();
    if (name.find(L"crash") != std::wstring::npos) {
        std::abort();
    }
    if (name.find(L"hang") != std::wstring::npos) {
        while (true) {
            ::pause();
        }
    }
    if (name.find(L"msgbox") != std::wstring::npos) {
        MessageBox(nullptr, L"配置文件损坏", L"无法读取", MB_OK | MB_ICONINFORMATION);
    }

    std::wstring result;
    *success = 1;
    if (message == KVB_COUNT_WHOLE_DRAWING) {
        result = platform::formatWide(L"共%ld个", countLines(L"X", nullptr, nullptr));
    } else if (record->firstCorners.length == 0) {
        result = L"没有图框";
        *success = 0;
    } else {
        for (std::int32_t frame = 0; frame < record->firstCorners.length; ++frame) {
            const long count = countLines(L"W", record->firstCorners.data + 3 * frame,
                                          record->secondCorners.data + 3 * frame);
            result += (result.empty() ? L"" : L"+") + std::to_wstring(count);
        }
    }
    const std::string bytes = platform::encodeText(result, platform::systemCodeSet());
    *text = static_cast<char*>(std::malloc(bytes.size() + 1));
    std::memcpy(*text, bytes.c_str(), bytes.size() + 1);
    return 1;
}

void KVB_ReleaseText(char* text) {
    std::free(text);
}
