// Reading and writing the settings sheet's preferences through CQLTSystemParam.
#include "quelto/ui/system_settings.h"

#include "platform/wide_text.h"
#include "quelto/actions/xyz_base_object.h"
#include "quelto/filter/qlt_system_param.h"

#include <cmath>

CSystemSettings CSystemSettings::Load() {
    CQLTSystemParam parameters;
    CSystemSettings settings;
    settings.m_bStartTemp = parameters.GetStartTemp();
    settings.m_bNoTempLast = parameters.GetNoTempLast();
    settings.m_bLastGroupOperator = parameters.GetLastGroupOperator();
    settings.m_bReadCfgPick = parameters.GetReadCfgPick();
    settings.m_bReadCfgGroup = parameters.GetReadCfgGroup();
    settings.m_bReadCfgCommand = parameters.GetReadCfgCommand();
    settings.m_nPickOperator = parameters.GetPickOperator();
    settings.m_bUseUserCoord = parameters.GetUseUserCoord();
    settings.m_bUseRadius = parameters.GetUseRadius();
    settings.m_dEPI = parameters.GetEPI();
    settings.m_nStartPage = parameters.GetStartPage();
    settings.m_bAcadNullMenu = parameters.GetAcadNullMenu();
    settings.m_bAcadObjectMenu = parameters.GetAcadObjectMenu();
    settings.m_bHasFreedom = parameters.GetHasFreedom();
    settings.m_bHasEntSoft = parameters.GetHasEntSoft();
    return settings;
}

BOOL CSystemSettings::Store() const {
    CQLTSystemParam parameters;
    const BOOL results[] = {
        parameters.SetStartTemp(m_bStartTemp),
        parameters.SetNoTempLast(m_bNoTempLast),
        parameters.SetLastGroupOperator(m_bLastGroupOperator),
        parameters.SetReadCfgPick(m_bReadCfgPick),
        parameters.SetReadCfgGroup(m_bReadCfgGroup),
        parameters.SetReadCfgCommand(m_bReadCfgCommand),
        parameters.SetPickOperator(m_nPickOperator),
        parameters.SetUseUserCoord(m_bUseUserCoord),
        parameters.SetUseRadius(m_bUseRadius),
        parameters.SetEPI(m_dEPI),
        parameters.SetStartPage(m_nStartPage),
        parameters.SetAcadNullMenu(m_bAcadNullMenu),
        parameters.SetAcadObjectMenu(m_bAcadObjectMenu),
        parameters.SetHasFreedom(m_bHasFreedom),
        parameters.SetHasEntSoft(m_bHasEntSoft),
    };
    for (const BOOL result : results) {
        if (!result) {
            return FALSE;
        }
    }
    return TRUE;
}

double CSystemSettings::ParsePrecision(const CString& text) {
    return std::fabs(_wtof(text));
}

CString CSystemSettings::FormatPrecision(double value) {
    return CXYZBaseObject::FormatReal(value);
}
