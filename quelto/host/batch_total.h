// CBatchTotal: one request of a batch program, run without dialog or user input. It reads
// "<批量处理配置>" from the configuration file, selects with it in the whole drawing (message 0) or
// inside each frame of the request (message 1), applies the grouping rule of its own registry section
// "BatchParam" and keeps the counts as the result text. The drawing is saved when the object goes,
// if the run succeeded and a grouping rule changed it.
#pragma once

#include "cad/ed/resbuf.h"
#include "platform/mfc_types.h"
#include "quelto/catalogue/info_map_list.h"
#include "quelto/filter/filter_cfg_file.h"
#include "quelto/filter/qlt_cmd_base.h"
#include "quelto/matching/second_stage.h"

class CBatchTotal : public CQLTCmdBase {
public:
    static constexpr const wchar_t* SectionName = L"BatchParam";

    // Reads "GroupType" and "GroupName" from the section.
    CBatchTotal();
    // Saves the drawing (QSAVE) when both the save flag and the success flag are on.
    ~CBatchTotal() override;
    CBatchTotal(const CBatchTotal&) = delete;
    CBatchTotal& operator=(const CBatchTotal&) = delete;

    // Runs message 0 or 1 on m_pRequest; 1 when it ran, 0 when it failed. Another message runs nothing
    // and fails.
    int Run(int message);

    // The request record's fields, read at their byte offsets.
    static std::int32_t RequestVersion(const void* request);
    static std::int32_t RequestFrameCount(const void* request);
    static void RequestCorners(const void* request, std::int32_t frame, ads_point first, ads_point second);

    const void* m_pRequest = nullptr;
    CString m_strResult = L"共0个";
    int m_nSuccess = 1;
    int m_nGroupType = 0;
    CString m_strGroupName;
    int m_nSave = 0;
    CInfoMapList m_infoMapList;
    CFilterCfgFile m_cfgFile;
    CFilter* m_pFilter = nullptr;

private:
    int RunWholeDrawing();
    int RunPerFrame();
    // The second stage over one host selection (the whole drawing or a window) with a fresh extended
    // filter, then the registry's grouping rule; FALSE when the host selected nothing.
    BOOL CountMatches(const quelto::matching::CandidateScope& scope, long& count);
};
