// The live count: the candidates in one host selection, then the engine over chunks of them, each
// chunk copied into a small set of its own so that the candidates' set is only read.
#include "quelto/ui/live_count.h"

#include "quelto/matching/entity_extend_filter.h"
#include "quelto/matching/second_stage.h"

namespace {

// Candidates handed to the engine at once; small enough that a slice ends close to its budget.
constexpr std::int32_t kChunk = 256;

bool pickFirstIsEmpty() {
    resbuf* pickFirst = nullptr;
    acedSSGetFirst(nullptr, &pickFirst);
    bool empty = true;
    if (pickFirst != nullptr && pickFirst->restype == RTPICKS) {
        std::int32_t length = 0;
        acedSSLength(pickFirst->resval.rlname, &length);
        empty = length == 0;
        acedSSFree(pickFirst->resval.rlname);
    }
    acutRelRb(pickFirst);
    return empty;
}

} // namespace

CCandidateSet::~CCandidateSet() {
    if (length > 0) {
        acedSSFree(set);
    }
}

CString HostSelectionKey(const CFilter& record, const CString& dxfName) {
    CString key = record.m_bSelectFromAll ? L"X" : L"I";
    resbuf* list = quelto::matching::buildHostFilterList(record, dxfName);
    for (const resbuf* item = list; item != nullptr; item = item->rbnext) {
        key += L"|" + std::to_wstring(item->restype) + L":";
        key += resbufValueKind(item->restype) == ResbufValueKind::Text ? CString(item->resval.rstring)
                                                                       : std::to_wstring(item->resval.rint);
    }
    acutRelRb(list);
    return key;
}

CSlicedCount::CSlicedCount(const CFilter& record, const CString& dxfName,
                           std::shared_ptr<const CCandidateSet> candidates)
    : m_record(record), m_dxfName(dxfName), m_engine(std::make_unique<CEntityExtendFilter>()),
      m_candidates(std::move(candidates)) {
    m_typeName = quelto::matching::hostFilterTypeName(m_record, m_dxfName);
    m_engine->LoadFromFilter(m_record);
}

CSlicedCount::~CSlicedCount() = default;

void CSlicedCount::SelectCandidates() {
    auto candidates = std::make_shared<CCandidateSet>();
    // The command's own selection without a mode would take the pick-first set when there is one, and
    // prompt otherwise; "I" reads the same set without taking it.
    const bool wholeDrawing = m_record.m_bSelectFromAll != 0;
    if (!wholeDrawing && pickFirstIsEmpty()) {
        candidates->needsUserSelection = true;
    } else {
        resbuf* hostFilter = quelto::matching::buildHostFilterList(m_record, m_dxfName);
        const int status =
            acedSSGet(wholeDrawing ? L"X" : L"I", nullptr, nullptr, hostFilter, candidates->set);
        acutRelRb(hostFilter);
        if (status == RTNORM && acedSSLength(candidates->set, &candidates->length) != RTNORM) {
            candidates->length = 0;
        }
        if (status == RTNORM && candidates->length == 0) {
            acedSSFree(candidates->set);
        }
    }
    m_candidates = std::move(candidates);
}

CSlicedCount::State CSlicedCount::Step(std::chrono::microseconds budget) {
    const auto start = std::chrono::steady_clock::now();
    if (m_candidates == nullptr) {
        SelectCandidates();
    }
    if (m_candidates->needsUserSelection) {
        m_state = State::NeedsUserSelection;
    }
    // At least one chunk per step, so that any budget makes progress.
    bool first = true;
    while (m_state == State::Counting && (first || std::chrono::steady_clock::now() - start < budget)) {
        first = false;
        if (m_next >= m_candidates->length) {
            m_state = State::Done;
            break;
        }
        ads_name chunk = {0, 0};
        acedSSAdd(nullptr, nullptr, chunk);
        const std::int32_t end = std::min(m_candidates->length, m_next + kChunk);
        for (; m_next < end; ++m_next) {
            ads_name entity;
            if (acedSSName(m_candidates->set, m_next, entity) == RTNORM) {
                acedSSAdd(entity, chunk, chunk);
            }
        }
        AcDbObjectIdArray ids;
        m_engine->FilterSelection(chunk, m_typeName, ids);
        m_count += static_cast<long>(ids.length());
        acedSSFree(chunk);
    }
    return m_state;
}

CLiveCount::CLiveCount(ReadCriteria readCriteria, QObject* parent)
    : QObject(parent), m_readCriteria(std::move(readCriteria)) {
    m_pause.setSingleShot(true);
    m_pause.setInterval(Pause);
    m_slices.setInterval(0);
    connect(&m_pause, &QTimer::timeout, this, &CLiveCount::Start);
    connect(&m_slices, &QTimer::timeout, this, &CLiveCount::RunSlice);
}

CLiveCount::~CLiveCount() = default;

void CLiveCount::Changed() {
    m_slices.stop();
    m_count.reset();
    m_unreadable = false;
    m_pause.start();
    emit TextChanged(Text());
}

void CLiveCount::Start() {
    m_pause.stop();
    std::optional<Criteria> criteria = m_readCriteria();
    m_unreadable = !criteria.has_value();
    if (criteria) {
        const CString key = HostSelectionKey(criteria->record, criteria->dxfName);
        if (key != m_candidatesKey) {
            m_candidates.reset();
            m_candidatesKey = key;
        }
        m_count = std::make_unique<CSlicedCount>(criteria->record, criteria->dxfName, m_candidates);
        m_slices.start();
    }
    emit TextChanged(Text());
}

std::optional<long> CLiveCount::Finish() {
    if (m_pause.isActive() || (m_count == nullptr && !m_unreadable)) {
        Start();
    }
    m_slices.stop();
    if (m_count == nullptr) {
        return std::nullopt;
    }
    while (m_count->Step(Slice) == CSlicedCount::State::Counting) {
    }
    m_candidates = m_count->Candidates();
    emit TextChanged(Text());
    if (m_count->GetState() == CSlicedCount::State::NeedsUserSelection) {
        return std::nullopt;
    }
    return m_count->Count();
}

QString CLiveCount::Text() const {
    if (m_unreadable) {
        return QStringLiteral("条件不完整，暂不统计");
    }
    if (m_count == nullptr) {
        return QStringLiteral("正在统计…");
    }
    switch (m_count->GetState()) {
    case CSlicedCount::State::Done:
        return QStringLiteral("将选择 %1 个实体").arg(m_count->Count());
    case CSlicedCount::State::NeedsUserSelection:
        return QStringLiteral("将在用户选择的实体中过滤");
    case CSlicedCount::State::Counting:
        break;
    }
    return QStringLiteral("正在统计…");
}

void CLiveCount::RunSlice() {
    if (m_count != nullptr && m_candidates == nullptr) {
        m_count->Step(Slice);
        m_candidates = m_count->Candidates();
        return;
    }
    if (m_count == nullptr || m_count->Step(Slice) != CSlicedCount::State::Counting) {
        m_slices.stop();
        emit TextChanged(Text());
    }
}
