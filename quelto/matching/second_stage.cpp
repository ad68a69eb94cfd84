// The host filter list built from a record and the second stage run over one scope.
#include "quelto/matching/second_stage.h"

#include "cad/app/host_api.h"
#include "platform/wide_text.h"
#include "quelto/catalogue/info_map_list.h"
#include "quelto/filter/filter.h"
#include "quelto/matching/entity_extend_filter.h"

#include <unordered_set>

namespace quelto::matching {

namespace {

const CString kDimension = L"DIMENSION";

// "DIMENSION33" names the dimensions whose group 70 is 33; "DIMENSION" alone names all of them.
bool isDimensionKind(const CString& dxfName) {
    return dxfName.compare(0, kDimension.size(), kDimension) == 0 && dxfName != kDimension;
}

class FilterListBuilder {
public:
    void text(int type, const CString& value) {
        resbuf* item = append(type);
        item->resval.rstring = acutNewString(value.c_str());
    }
    void shortValue(int type, int value) { append(type)->resval.rint = static_cast<short>(value); }
    resbuf* release() { return std::exchange(m_head, nullptr); }
    ~FilterListBuilder() { acutRelRb(m_head); }

private:
    resbuf* append(int type) {
        resbuf* item = acutNewRb(type);
        if (m_tail == nullptr) {
            m_head = item;
        } else {
            m_tail->rbnext = item;
        }
        m_tail = item;
        return item;
    }

    resbuf* m_head = nullptr;
    resbuf* m_tail = nullptr;
};

// An operator item goes before a value only when it says more than "=".
bool hasOperator(const CString& operatorText) {
    return !operatorText.empty() && operatorText != L"=";
}

// The candidates of "X" that are members of the given set, in the given set's order, as a new set.
int selectFromGivenSet(const ads_name given, const resbuf* filter, ads_name result) {
    ads_name everything;
    const int status = acedSSGet(L"X", nullptr, nullptr, filter, everything);
    if (status != RTNORM) {
        return status;
    }
    std::unordered_set<AcDbObjectId> accepted;
    std::int32_t length = 0;
    acedSSLength(everything, &length);
    for (std::int32_t index = 0; index < length; ++index) {
        ads_name name;
        AcDbObjectId id;
        if (acedSSName(everything, index, name) == RTNORM && acdbGetObjectId(id, name) == Acad::eOk) {
            accepted.insert(id);
        }
    }
    acedSSFree(everything);
    acedSSAdd(nullptr, nullptr, result);
    std::int32_t givenLength = 0;
    acedSSLength(given, &givenLength);
    for (std::int32_t index = 0; index < givenLength; ++index) {
        ads_name name;
        AcDbObjectId id;
        if (acedSSName(given, index, name) == RTNORM && acdbGetObjectId(id, name) == Acad::eOk &&
            accepted.contains(id)) {
            acedSSAdd(name, result, result);
        }
    }
    std::int32_t resultLength = 0;
    acedSSLength(result, &resultLength);
    if (resultLength == 0) {
        acedSSFree(result);
        return RTERROR;
    }
    return RTNORM;
}

} // namespace

CandidateScope CandidateScope::wholeDrawing() {
    return {};
}

CandidateScope CandidateScope::userSelection() {
    CandidateScope scope;
    scope.kind = Kind::UserSelection;
    return scope;
}

CandidateScope CandidateScope::givenSet(const ads_name set) {
    CandidateScope scope;
    scope.kind = Kind::GivenSet;
    ads_name_set(set, scope.set);
    return scope;
}

CandidateScope CandidateScope::window(const ads_point firstCorner, const ads_point secondCorner) {
    CandidateScope scope;
    scope.kind = Kind::Window;
    ads_point_set(firstCorner, scope.firstCorner);
    ads_point_set(secondCorner, scope.secondCorner);
    return scope;
}

CString hostFilterTypeName(const CFilter& filter, const CString& dxfName) {
    if (!filter.m_bType) {
        return CString();
    }
    return isDimensionKind(dxfName) ? kDimension : dxfName;
}

resbuf* buildHostFilterList(const CFilter& filter, const CString& dxfName) {
    FilterListBuilder list;
    if (filter.m_bType) {
        list.text(RTDXF0, hostFilterTypeName(filter, dxfName));
        if (isDimensionKind(dxfName)) {
            list.shortValue(70, _wtoi(dxfName.substr(kDimension.size())));
        }
    }
    if (filter.m_bLayer) {
        list.text(8, filter.m_strLayer);
    }
    if (filter.m_bColor) {
        if (hasOperator(filter.m_strColorOp)) {
            list.text(-4, filter.m_strColorOp);
        }
        list.shortValue(62, filter.m_nColor);
    }
    if (filter.m_bLineWeight) {
        if (hasOperator(filter.m_strLineWeightOp)) {
            list.text(-4, filter.m_strLineWeightOp);
        }
        list.shortValue(370, filter.m_nLineWeight);
    }
    return list.release();
}

int runSecondStage(const CFilter& filter, const CString& dxfName, const CandidateScope& scope,
                   bool batchVariant, SecondStageResult& result) {
    result.ids.clear();
    result.typeName = hostFilterTypeName(filter, dxfName);
    resbuf* hostFilter = buildHostFilterList(filter, dxfName);
    switch (scope.kind) {
    case CandidateScope::Kind::WholeDrawing:
        result.status = acedSSGet(L"X", nullptr, nullptr, hostFilter, result.set);
        break;
    case CandidateScope::Kind::UserSelection:
        result.status = acedSSGet(nullptr, nullptr, nullptr, hostFilter, result.set);
        break;
    case CandidateScope::Kind::GivenSet:
        result.status = selectFromGivenSet(scope.set, hostFilter, result.set);
        break;
    case CandidateScope::Kind::Window:
        result.status = acedSSGet(L"W", scope.firstCorner, scope.secondCorner, hostFilter, result.set);
        break;
    }
    acutRelRb(hostFilter);
    if (result.status != RTNORM) {
        acedSSFree(result.set);
        ads_name_clear(result.set);
        return 0;
    }
    CEntityExtendFilter engine;
    if (batchVariant) {
        engine.LoadFromBatchFilter(filter);
    } else {
        engine.LoadFromFilter(filter);
    }
    engine.FilterSelection(result.set, result.typeName, result.ids);
    return 1;
}

int runSecondStage(const CFilter& filter, const CInfoMapList& catalogue, const CandidateScope& scope,
                   bool batchVariant, SecondStageResult& result) {
    return runSecondStage(filter, catalogue.GetDxfName(filter.m_strType), scope, batchVariant, result);
}

} // namespace quelto::matching
