// The stored form of a record. Items were appended to the record over six data versions, not always at
// the end; one table lists them in stream order with the version that added each. Loading reads exactly
// the items that existed in the version the file was written with, so older files keep loading and the
// newer fields keep the values they had (the defaults after a Reset).

#include "quelto/filter/filter.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>
#include <variant>

CFilter::~CFilter() = default;

// The data version says where the record came from, not what it selects, so a reset keeps it: the
// template record that the configuration file resets after loading still reports the file's version.
void CFilter::Reset() {
    const CString name = m_strName;
    const int version = m_nVersion;
    *this = CFilter();
    m_strName = name;
    m_nVersion = version;
}

void CFilter::CopyFrom(const CFilter& source, BOOL withName) {
    if (&source == this) {
        return;
    }
    const CString name = m_strName;
    *this = source;
    if (!withName) {
        m_strName = name;
    }
}

void CFilter::Serialize(CArchive& archive) {
    if (archive.IsStoring()) {
        Store(archive);
    } else {
        Load(archive);
    }
}

namespace {

// The property rows, stored as a count and then per row its property, letter (from version 6 on),
// operator and value.
struct PropertyRows {};

// One stored item: the data version that added it and the member it holds, in stream order. Store and
// Load both walk this list, so they cannot disagree about order or versions.
struct StoredItem {
    int since;
    std::variant<int CFilter::*, double CFilter::*, CString CFilter::*, PropertyRows> member;
};

constexpr StoredItem kStoredItems[] = {
    {1, &CFilter::m_strName},         {1, &CFilter::m_bType},       {1, &CFilter::m_strType},
    {1, &CFilter::m_bLayer},          {1, &CFilter::m_strLayer},    {1, &CFilter::m_bColor},
    {2, &CFilter::m_strColorOp},      {1, &CFilter::m_nColor},      {1, &CFilter::m_bLineWeight},
    {2, &CFilter::m_strLineWeightOp}, {1, &CFilter::m_nLineWeight}, {6, &CFilter::m_bSpace},
    {6, &CFilter::m_strSpaceOp},      {6, &CFilter::m_strSpace},    {3, &CFilter::m_bLineType},
    {3, &CFilter::m_strLineTypeOp},   {3, &CFilter::m_strLineType}, {3, &CFilter::m_bLtScale},
    {3, &CFilter::m_strLtScaleOp},    {3, &CFilter::m_dLtScale},    {4, &CFilter::m_bVisible},
    {4, &CFilter::m_strVisibleOp},    {4, &CFilter::m_nVisibility}, {4, &CFilter::m_bPlanar},
    {4, &CFilter::m_strPlanarOp},     {4, &CFilter::m_nPlanar},     {4, &CFilter::m_bWidth},
    {4, &CFilter::m_strWidthOp},      {4, &CFilter::m_dWidth},      {4, &CFilter::m_bHeight},
    {4, &CFilter::m_strHeightOp},     {4, &CFilter::m_dHeight},     {1, PropertyRows{}},
    {6, &CFilter::m_bLogic},          {6, &CFilter::m_nLogicMode},  {6, &CFilter::m_strLogic},
    {5, &CFilter::m_bSelectFromAll},  {5, &CFilter::m_nGroupMode},  {5, &CFilter::m_strGroupName},
    {6, &CFilter::m_bHasCmd},         {6, &CFilter::m_bHasPrompt},  {6, &CFilter::m_nDoType},
    {6, &CFilter::m_nPosIndex},       {6, &CFilter::m_bHasOffset},  {6, &CFilter::m_nXUnit},
    {6, &CFilter::m_nYUnit},          {6, &CFilter::m_dXOffset},    {6, &CFilter::m_dYOffset},
    {6, &CFilter::m_dMoveX},          {6, &CFilter::m_dMoveY},      {6, &CFilter::m_dMoveZ},
    {6, &CFilter::m_dScaleA},         {6, &CFilter::m_dRoateA},     {6, &CFilter::m_dAxiusA},
};

void storeRows(const CFilter& filter, CArchive& archive) {
    // The four row arrays always grow together; should a caller ever break that, the rows stored are the
    // complete ones, so the file stays readable.
    const std::size_t rowCount = std::min({filter.m_arrPropId.size(), filter.m_arrPropRow.size(),
                                           filter.m_arrPropOp.size(), filter.m_arrPropValue.size()});
    archive << static_cast<int>(rowCount);
    for (std::size_t row = 0; row < rowCount; ++row) {
        archive << filter.m_arrPropId[row] << filter.m_arrPropRow[row] << filter.m_arrPropOp[row]
                << filter.m_arrPropValue[row];
    }
}

void loadRows(CFilter& filter, CArchive& archive) {
    int rowCount = 0;
    archive >> rowCount;
    // A damaged count cannot make this loop run away: every row takes at least six bytes, so the archive
    // runs out and raises its read error first.
    for (int row = 0; row < rowCount; ++row) {
        int propertyId = 0;
        int rowIndex = row;
        CString op;
        CString value;
        archive >> propertyId;
        if (filter.m_nVersion >= 6) {
            archive >> rowIndex;
        }
        archive >> op >> value;
        filter.m_arrPropId.push_back(propertyId);
        filter.m_arrPropRow.push_back(rowIndex);
        filter.m_arrPropOp.push_back(op);
        filter.m_arrPropValue.push_back(value);
    }
}

} // namespace

void CFilter::Store(CArchive& archive) const {
    for (const StoredItem& item : kStoredItems) {
        std::visit(
            [&](auto member) {
                if constexpr (std::is_same_v<decltype(member), PropertyRows>) {
                    storeRows(*this, archive);
                } else {
                    archive << this->*member;
                }
            },
            item.member);
    }
}

void CFilter::Load(CArchive& archive) {
    for (const StoredItem& item : kStoredItems) {
        if (m_nVersion < item.since) {
            continue;
        }
        std::visit(
            [&](auto member) {
                if constexpr (std::is_same_v<decltype(member), PropertyRows>) {
                    loadRows(*this, archive);
                } else {
                    archive >> this->*member;
                }
            },
            item.member);
    }
}
