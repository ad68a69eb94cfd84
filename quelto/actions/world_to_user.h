// WorldToUser: the working drawing's world-to-user conversion taken from the host once and applied to
// many points, for readers that convert every point of many entities. Each point gets the same
// arithmetic as the host's acdbWcs2Ucs, so the results are equal to the last bit.
#pragma once

#include "cad/app/host_api.h"
#include "cad/ge/point3d.h"
#include "platform/mfc_types.h"

class WorldToUser {
public:
    // Asks the host for the current system; without a drawing every conversion fails.
    WorldToUser();

    // Converts in place; FALSE, point unchanged, when there was no drawing to ask.
    BOOL Convert(AcGePoint3d& point) const {
        if (!m_valid) {
            return FALSE;
        }
        const AcGeVector3d offset = point - m_origin;
        point.set(offset.dotProduct(m_xAxis), offset.dotProduct(m_yAxis), offset.dotProduct(m_zAxis));
        return TRUE;
    }

private:
    bool m_valid = false;
    AcGePoint3d m_origin;
    AcGeVector3d m_xAxis;
    AcGeVector3d m_yAxis;
    AcGeVector3d m_zAxis;
};
