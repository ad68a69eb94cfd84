// The module's exported batch entry: the interface-version check, one CBatchTotal per call, and the
// result text handed over in the system's multibyte code set, in a buffer from malloc that the caller
// gives back through KVB_ReleaseText, so both sides use this module's allocator.

#include "quelto/host/kvb_batch_interface.h"

#include "cad/ed/command_line.h"
#include "platform/code_page.h"
#include "quelto/host/batch_total.h"

#include <cstdlib>
#include <cstring>

namespace {

char* multibyteCopy(const CString& text) {
    const std::string bytes = platform::encodeText(text, platform::systemCodeSet());
    auto* copy = static_cast<char*>(std::malloc(bytes.size() + 1));
    if (copy != nullptr) {
        std::memcpy(copy, bytes.c_str(), bytes.size() + 1);
    }
    return copy;
}

} // namespace

std::int32_t KVB_OnCommandMessage(std::int32_t message, const void* request, char** text,
                                  std::int32_t* success) {
    if (request == nullptr || CBatchTotal::RequestVersion(request) != KVB_INTERFACE_VERSION) {
        acutPrintf(L"二次开发程序版本与翠岭轩批量处理系统版本不兼容\n");
        return 0;
    }
    CBatchTotal total;
    total.m_pRequest = request;
    const int result = total.Run(message);
    if (text != nullptr) {
        *text = multibyteCopy(total.m_strResult);
    }
    if (success != nullptr) {
        *success = total.m_nSuccess;
    }
    return result;
}

void KVB_ReleaseText(char* text) {
    std::free(text);
}
