// Taking the current user system from the host as its user-to-world matrix.

#include "quelto/actions/world_to_user.h"

WorldToUser::WorldToUser() {
    AcGeMatrix3d userToWorld;
    if (acedGetCurrentUCS(userToWorld) == Acad::eOk) {
        userToWorld.getCoordSystem(m_origin, m_xAxis, m_yAxis, m_zAxis);
        m_valid = true;
    }
}
