// The batch bridge's run: the request record read at its byte offsets (the caller's record is a class
// of its own program; only its documented fields are touched), the configuration, the two messages and
// their result texts, and the save at the end.

#include "quelto/host/batch_total.h"

#include "cad/app/command_processor.h"
#include "platform/known_folders.h"
#include "platform/wide_text.h"
#include "quelto/actions/qlt_group_operate.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kVersionOffset = 8;
constexpr std::size_t kFirstCornersOffset = 32;
constexpr std::size_t kFrameCountOffset = 44;
constexpr std::size_t kSecondCornersOffset = 56;

template <typename Value>
Value readField(const void* record, std::size_t offset) {
    Value value;
    std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof value);
    return value;
}

void readPoint(const void* record, std::size_t arrayOffset, std::int32_t index, ads_point point) {
    const auto* points = readField<const double*>(record, arrayOffset);
    std::memcpy(point, points + 3 * static_cast<std::size_t>(index), sizeof(ads_point));
}

} // namespace

CBatchTotal::CBatchTotal() {
    m_strSubKey = SectionName;
    m_nGroupType = ReadIntValue(L"GroupType", 0);
    m_strGroupName = ReadTextValue(L"GroupName", CString());
    m_nSave = m_nGroupType >= 1 && !m_strGroupName.empty() ? 1 : 0;
    // A batch program may run the configuration of another file without moving the module's own.
    if (const char* other = std::getenv("QUELTO_BATCH_CONFIG"); other != nullptr && *other != '\0') {
        m_cfgFile.m_strFileName = platform::pathToWide(other);
    }
}

CBatchTotal::~CBatchTotal() {
    if (m_nSave && m_nSuccess) {
        acedCommand(RTSTR, L"QSAVE", RTNONE);
    }
}

std::int32_t CBatchTotal::RequestVersion(const void* request) {
    return readField<std::int32_t>(request, kVersionOffset);
}

std::int32_t CBatchTotal::RequestFrameCount(const void* request) {
    return readField<std::int32_t>(request, kFrameCountOffset);
}

void CBatchTotal::RequestCorners(const void* request, std::int32_t frame, ads_point first, ads_point second) {
    readPoint(request, kFirstCornersOffset, frame, first);
    readPoint(request, kSecondCornersOffset, frame, second);
}

int CBatchTotal::Run(int message) {
    if (message != 0 && message != 1) {
        m_nSuccess = 0;
        return 0;
    }
    if (!m_cfgFile.ReadCfgFile()) {
        m_nSuccess = 0;
        return 0;
    }
    const int position = m_cfgFile.FindFilter(CFilterCfgFile::BatchName);
    if (position < 0) {
        m_nSuccess = 0;
        return 0;
    }
    m_pFilter = &m_cfgFile.m_arrFilter[static_cast<std::size_t>(position)];
    return message == 0 ? RunWholeDrawing() : RunPerFrame();
}

int CBatchTotal::RunWholeDrawing() {
    long count = 0;
    if (!CountMatches(quelto::matching::CandidateScope::wholeDrawing(), count)) {
        m_nSuccess = 0;
        return 0;
    }
    m_strResult = platform::formatWide(L"共%ld个", count);
    return 1;
}

int CBatchTotal::RunPerFrame() {
    m_nSave = 0;
    m_strResult.clear();
    const std::int32_t frames = RequestFrameCount(m_pRequest);
    if (frames <= 0) {
        m_strResult = L"没有图框";
        m_nSuccess = 0;
        return 1;
    }
    for (std::int32_t frame = 0; frame < frames; ++frame) {
        ads_point first;
        ads_point second;
        RequestCorners(m_pRequest, frame, first, second);
        acedCommand(RTSTR, L"Zoom", RT3DPOINT, first, RT3DPOINT, second, RTNONE);
        long count = 0;
        if (!CountMatches(quelto::matching::CandidateScope::window(first, second), count)) {
            count = 0;
        }
        const CString countText = platform::formatWide(L"%ld", count);
        m_strResult += m_strResult.empty() ? countText : L"+" + countText;
    }
    return 1;
}

BOOL CBatchTotal::CountMatches(const quelto::matching::CandidateScope& scope, long& count) {
    quelto::matching::SecondStageResult selection;
    if (!quelto::matching::runSecondStage(*m_pFilter, m_infoMapList.GetDxfName(m_pFilter->m_strType), scope,
                                          true, selection)) {
        return FALSE;
    }
    // The grouping rule is the batch section's own, not the record's.
    CQLTGroupOperate().Apply(m_strGroupName, m_nGroupType, selection.ids);
    std::int32_t length = 0;
    acedSSLength(selection.set, &length);
    acedSSFree(selection.set);
    count = length;
    return TRUE;
}
