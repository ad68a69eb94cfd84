// The stored form of a record. Items were appended to the record over six data versions; loading reads
// exactly the items that existed in the version the file was written with, so older files keep loading
// and the newer fields keep the values they had (the defaults after a Reset).

#include "quelto/filter/filter.h"

#include <algorithm>
#include <cstddef>

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

void CFilter::Store(CArchive& archive) const {
    archive << m_strName << m_bType << m_strType << m_bLayer << m_strLayer;
    archive << m_bColor << m_strColorOp << m_nColor;
    archive << m_bLineWeight << m_strLineWeightOp << m_nLineWeight;
    archive << m_bSpace << m_strSpaceOp << m_strSpace;
    archive << m_bLineType << m_strLineTypeOp << m_strLineType << m_bLtScale << m_strLtScaleOp << m_dLtScale;
    archive << m_bVisible << m_strVisibleOp << m_nVisibility << m_bPlanar << m_strPlanarOp << m_nPlanar;
    archive << m_bWidth << m_strWidthOp << m_dWidth << m_bHeight << m_strHeightOp << m_dHeight;
    // The four row arrays always grow together; should a caller ever break that, the rows stored are the
    // complete ones, so the file stays readable.
    const std::size_t rowCount =
        std::min({m_arrPropId.size(), m_arrPropRow.size(), m_arrPropOp.size(), m_arrPropValue.size()});
    archive << static_cast<int>(rowCount);
    for (std::size_t row = 0; row < rowCount; ++row) {
        archive << m_arrPropId[row] << m_arrPropRow[row] << m_arrPropOp[row] << m_arrPropValue[row];
    }
    archive << m_bLogic << m_nLogicMode << m_strLogic;
    archive << m_bSelectFromAll << m_nGroupMode << m_strGroupName;
    archive << m_bHasCmd << m_bHasPrompt << m_nDoType << m_nPosIndex << m_bHasOffset << m_nXUnit << m_nYUnit;
    archive << m_dXOffset << m_dYOffset << m_dMoveX << m_dMoveY << m_dMoveZ << m_dScaleA << m_dRoateA
            << m_dAxiusA;
}

void CFilter::Load(CArchive& archive) {
    archive >> m_strName >> m_bType >> m_strType >> m_bLayer >> m_strLayer;
    archive >> m_bColor;
    if (m_nVersion >= 2) {
        archive >> m_strColorOp;
    }
    archive >> m_nColor >> m_bLineWeight;
    if (m_nVersion >= 2) {
        archive >> m_strLineWeightOp;
    }
    archive >> m_nLineWeight;
    if (m_nVersion >= 6) {
        archive >> m_bSpace >> m_strSpaceOp >> m_strSpace;
    }
    if (m_nVersion >= 3) {
        archive >> m_bLineType >> m_strLineTypeOp >> m_strLineType >> m_bLtScale >> m_strLtScaleOp >>
            m_dLtScale;
    }
    if (m_nVersion >= 4) {
        archive >> m_bVisible >> m_strVisibleOp >> m_nVisibility >> m_bPlanar >> m_strPlanarOp >> m_nPlanar;
        archive >> m_bWidth >> m_strWidthOp >> m_dWidth >> m_bHeight >> m_strHeightOp >> m_dHeight;
    }
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
        if (m_nVersion >= 6) {
            archive >> rowIndex;
        }
        archive >> op >> value;
        m_arrPropId.push_back(propertyId);
        m_arrPropRow.push_back(rowIndex);
        m_arrPropOp.push_back(op);
        m_arrPropValue.push_back(value);
    }
    if (m_nVersion >= 6) {
        archive >> m_bLogic >> m_nLogicMode >> m_strLogic;
    }
    if (m_nVersion >= 5) {
        archive >> m_bSelectFromAll >> m_nGroupMode >> m_strGroupName;
    }
    if (m_nVersion >= 6) {
        archive >> m_bHasCmd >> m_bHasPrompt >> m_nDoType >> m_nPosIndex >> m_bHasOffset >> m_nXUnit >>
            m_nYUnit;
        archive >> m_dXOffset >> m_dYOffset >> m_dMoveX >> m_dMoveY >> m_dMoveZ >> m_dScaleA >> m_dRoateA >>
            m_dAxiusA;
    }
}
