// The command page's values moved between the preferences, a configuration record and the edit
// command, and the enabling rules. Record, command and page share the field names, so one template
// copies between any two of them.
#include "quelto/ui/command_page_model.h"

#include "quelto/actions/extend_command.h"
#include "quelto/filter/filter.h"
#include "quelto/filter/qlt_system_param.h"

#include <cwchar>
#include <cwctype>

namespace {

template <typename Source, typename Target>
void copyCommandFields(const Source& source, Target& target) {
    target.m_bHasCmd = source.m_bHasCmd;
    target.m_bHasPrompt = source.m_bHasPrompt;
    target.m_nDoType = source.m_nDoType;
    target.m_nPosIndex = source.m_nPosIndex;
    target.m_bHasOffset = source.m_bHasOffset;
    target.m_nXUnit = source.m_nXUnit;
    target.m_nYUnit = source.m_nYUnit;
    target.m_dXOffset = source.m_dXOffset;
    target.m_dYOffset = source.m_dYOffset;
    target.m_dMoveX = source.m_dMoveX;
    target.m_dMoveY = source.m_dMoveY;
    target.m_dMoveZ = source.m_dMoveZ;
    target.m_dScaleA = source.m_dScaleA;
    target.m_dRoateA = source.m_dRoateA;
    target.m_dAxiusA = source.m_dAxiusA;
}

struct IntSetting {
    int CCommandPageModel::*field;
    int (CQLTSystemParam::*get)();
    BOOL (CQLTSystemParam::*set)(int);
};

struct RealSetting {
    double CCommandPageModel::*field;
    double (CQLTSystemParam::*get)();
    BOOL (CQLTSystemParam::*set)(double);
};

using Model = CCommandPageModel;
using Param = CQLTSystemParam;

const IntSetting kIntSettings[] = {
    {&Model::m_bHasCmd, &Param::GetHasCmd, &Param::SetHasCmd},
    {&Model::m_bHasPrompt, &Param::GetHasPrompt, &Param::SetHasPrompt},
    {&Model::m_nDoType, &Param::GetDoType, &Param::SetDoType},
    {&Model::m_nPosIndex, &Param::GetPosIndex, &Param::SetPosIndex},
    {&Model::m_bHasOffset, &Param::GetHasOffset, &Param::SetHasOffset},
    {&Model::m_nXUnit, &Param::GetXUnit, &Param::SetXUnit},
    {&Model::m_nYUnit, &Param::GetYUnit, &Param::SetYUnit},
};

const RealSetting kRealSettings[] = {
    {&Model::m_dXOffset, &Param::GetXOffset, &Param::SetXOffset},
    {&Model::m_dYOffset, &Param::GetYOffset, &Param::SetYOffset},
    {&Model::m_dMoveX, &Param::GetMoveX, &Param::SetMoveX},
    {&Model::m_dMoveY, &Param::GetMoveY, &Param::SetMoveY},
    {&Model::m_dMoveZ, &Param::GetMoveZ, &Param::SetMoveZ},
    {&Model::m_dScaleA, &Param::GetScaleA, &Param::SetScaleA},
    {&Model::m_dRoateA, &Param::GetRoateA, &Param::SetRoateA},
    {&Model::m_dAxiusA, &Param::GetAxiusA, &Param::SetAxiusA},
};

} // namespace

void CCommandPageModel::ReadSettings(CQLTSystemParam& param) {
    for (const IntSetting& setting : kIntSettings) {
        this->*setting.field = (param.*setting.get)();
    }
    for (const RealSetting& setting : kRealSettings) {
        this->*setting.field = (param.*setting.get)();
    }
}

void CCommandPageModel::WriteSettings(CQLTSystemParam& param) const {
    for (const IntSetting& setting : kIntSettings) {
        (param.*setting.set)(this->*setting.field);
    }
    for (const RealSetting& setting : kRealSettings) {
        (param.*setting.set)(this->*setting.field);
    }
}

void CCommandPageModel::LoadFrom(const CFilter& record) {
    copyCommandFields(record, *this);
}

void CCommandPageModel::SaveTo(CFilter& record) const {
    copyCommandFields(*this, record);
}

void CCommandPageModel::CopyTo(CExtendCommand& command) const {
    copyCommandFields(*this, command);
}

CCommandPageEnabling CCommandPageModel::Enabling() const {
    CCommandPageEnabling enabling;
    const bool running = m_bHasCmd != 0;
    enabling.m_bCommandChoice = running;
    enabling.m_bReferencePoint =
        running && (m_nDoType == kScale || m_nDoType == kRotate || m_nDoType == kMirror);
    enabling.m_bOffsetRows = enabling.m_bReferencePoint && m_bHasOffset != 0;
    enabling.m_bParameterFrame = enabling.m_bReferencePoint;
    enabling.m_bMove = running && m_nDoType == kMove;
    enabling.m_bScale = running && m_nDoType == kScale;
    enabling.m_bRotate = running && m_nDoType == kRotate;
    enabling.m_bMirror = running && m_nDoType == kMirror;
    return enabling;
}

bool CCommandPageModel::ParseNumber(const CString& text, double& value) {
    // Digits, one sign per mantissa and exponent, a point and an exponent only: wcstod alone would also
    // take hexadecimal numbers, "inf" and "nan", which a decimal field must refuse.
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::iswspace(text[begin])) {
        ++begin;
    }
    while (end > begin && std::iswspace(text[end - 1])) {
        --end;
    }
    if (begin == end) {
        return false;
    }
    for (size_t i = begin; i < end; ++i) {
        const wchar_t c = text[i];
        if (!std::iswdigit(c) && c != L'.' && c != L'+' && c != L'-' && c != L'e' && c != L'E') {
            return false;
        }
    }
    const CString number = text.substr(begin, end - begin);
    wchar_t* stop = nullptr;
    const double parsed = std::wcstod(number.c_str(), &stop);
    if (stop == number.c_str() || *stop != L'\0') {
        return false;
    }
    value = parsed;
    return true;
}

CString CCommandPageModel::FormatNumber(double value) {
    // Fifteen significant digits, as dialog number fields show doubles: 1.0 as "1", 0.1 as "0.1".
    wchar_t buffer[64];
    std::swprintf(buffer, 64, L"%.15g", value);
    return buffer;
}
