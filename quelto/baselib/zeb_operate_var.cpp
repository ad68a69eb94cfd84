// The analyser record and its conversions between value kinds.

#include "quelto/baselib/zeb_operate_var.h"

#include "platform/wide_text.h"
#include "quelto/baselib/zeb_base_string_analyse.h"

#include <climits>
#include <stdexcept>

CZEBOperateVar::CZEBOperateVar() = default;

CZEBOperateVar::CZEBOperateVar(const CZEBOperateVar& other) {
    ZEBCopySet(other);
}

CZEBOperateVar& CZEBOperateVar::operator=(const CZEBOperateVar& other) {
    if (this != &other) {
        ZEBCopySet(other);
    }
    return *this;
}

CZEBOperateVar::CZEBOperateVar(CZEBOperateVar&& other) noexcept = default;

CZEBOperateVar& CZEBOperateVar::operator=(CZEBOperateVar&& other) noexcept = default;

CZEBOperateVar::~CZEBOperateVar() = default;

void CZEBOperateVar::ZEBClear() {
    m_strName.clear();
    m_strOperate.clear();
    m_arrParamIndex.clear();
    m_nType = TypeNone;
    m_strValue.clear();
    m_dValue = 0.0;
    m_nValue = 0;
}

void CZEBOperateVar::ZEBCopySet(const CZEBOperateVar& other) {
    m_strName = other.m_strName;
    m_strOperate = other.m_strOperate;
    m_arrParamIndex = other.m_arrParamIndex;
    m_nType = other.m_nType;
    m_strValue = other.m_strValue;
    m_dValue = other.m_dValue;
    m_nValue = other.m_nValue;
}

void CZEBOperateVar::AddParamIndex(int index) {
    m_arrParamIndex.push_back(index);
}

void CZEBOperateVar::AddParamIndex(const CArray<int, int>& indexes) {
    m_arrParamIndex.insert(m_arrParamIndex.end(), indexes.begin(), indexes.end());
}

int CZEBOperateVar::GetParamSize() const {
    return static_cast<int>(m_arrParamIndex.size());
}

int CZEBOperateVar::operator[](const int& position) const {
    if (position < 0 || position >= GetParamSize()) {
        throw std::invalid_argument("CZEBOperateVar: parameter index out of range");
    }
    return m_arrParamIndex[static_cast<std::size_t>(position)];
}

BOOL CZEBOperateVar::IsOperate() const {
    return !m_strOperate.empty() && !quelto::baselib::isFormulaLetter(m_strOperate.front()) ? TRUE : FALSE;
}

// A real converted to int truncates toward zero. Values outside the 32-bit range and NaN give INT_MIN, the
// "integer indefinite" the original's processor conversion produced, like the function library does.
static int truncateToInt(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

double CZEBOperateVar::GetDValue() const {
    switch (m_nType) {
    case TypeString:
        return _wtof(m_strValue);
    case TypeReal:
        return m_dValue;
    case TypeInteger:
    case TypeBoolean:
        return m_nValue;
    default:
        return 0.0;
    }
}

int CZEBOperateVar::GetIValue() const {
    switch (m_nType) {
    case TypeString:
        return _wtoi(m_strValue);
    case TypeReal:
        return truncateToInt(m_dValue);
    case TypeInteger:
    case TypeBoolean:
        return m_nValue;
    default:
        return 0;
    }
}

int CZEBOperateVar::GetOValue() const {
    return GetIValue() != 0 ? 1 : 0;
}

CString CZEBOperateVar::GetSValue() const {
    switch (m_nType) {
    case TypeString:
        return m_strValue;
    case TypeReal:
        return CZEBBaseStringAnalyse::GetDoubleString(m_dValue, -7);
    case TypeInteger:
        return platform::formatWide(L"%d", m_nValue);
    case TypeBoolean:
        return m_nValue != 0 ? L"1" : L"0";
    default:
        return CString();
    }
}
