// The system-variable table and its conversions between stored values and result buffers.

#include "cad/ed/system_variables.h"

#include "platform/code_page.h"
#include "platform/wide_text.h"

#include <cmath>

namespace cad::ed {
namespace {

bool isNumeric(short type) {
    return type == RTSHORT || type == RTLONG || type == RTREAL || type == RTANG;
}

bool fromBuffer(const resbuf& buffer, short wantedType, VariableValue& value) {
    value.type = wantedType;
    switch (wantedType) {
    case RTSHORT:
    case RTLONG:
        if (buffer.restype == RTSHORT) {
            value.integer = buffer.resval.rint;
        } else if (buffer.restype == RTLONG) {
            value.integer = buffer.resval.rlong;
        } else if (buffer.restype == RTREAL && std::floor(buffer.resval.rreal) == buffer.resval.rreal) {
            value.integer = static_cast<std::int32_t>(buffer.resval.rreal);
        } else {
            return false;
        }
        return wantedType == RTLONG || (value.integer >= -32768 && value.integer <= 32767);
    case RTREAL:
        if (!isNumeric(buffer.restype)) {
            return false;
        }
        value.real = buffer.restype == RTSHORT  ? buffer.resval.rint
                     : buffer.restype == RTLONG ? buffer.resval.rlong
                                                : buffer.resval.rreal;
        return true;
    case RTSTR:
        if (buffer.restype != RTSTR) {
            return false;
        }
        value.text = buffer.resval.rstring != nullptr ? buffer.resval.rstring : L"";
        return true;
    case RT3DPOINT:
        if (buffer.restype != RT3DPOINT && buffer.restype != RTPOINT) {
            return false;
        }
        value.point[0] = buffer.resval.rpoint[0];
        value.point[1] = buffer.resval.rpoint[1];
        value.point[2] = buffer.restype == RTPOINT ? 0.0 : buffer.resval.rpoint[2];
        return true;
    default:
        return false;
    }
}

void toBuffer(const VariableValue& value, resbuf& buffer) {
    buffer.rbnext = nullptr;
    buffer.restype = value.type;
    switch (value.type) {
    case RTSHORT:
        buffer.resval.rint = static_cast<short>(value.integer);
        break;
    case RTLONG:
        buffer.resval.rlong = value.integer;
        break;
    case RTREAL:
        buffer.resval.rreal = value.real;
        break;
    case RTSTR:
        buffer.resval.rstring = acutNewString(value.text.c_str());
        break;
    case RT3DPOINT:
        buffer.resval.rpoint[0] = value.point[0];
        buffer.resval.rpoint[1] = value.point[1];
        buffer.resval.rpoint[2] = value.point[2];
        break;
    default:
        break;
    }
}

} // namespace

VariableValue VariableValue::ofShort(int value) {
    VariableValue result;
    result.type = RTSHORT;
    result.integer = value;
    return result;
}
VariableValue VariableValue::ofReal(double value) {
    VariableValue result;
    result.type = RTREAL;
    result.real = value;
    return result;
}
VariableValue VariableValue::ofText(std::wstring value) {
    VariableValue result;
    result.type = RTSTR;
    result.text = std::move(value);
    return result;
}
VariableValue VariableValue::ofPoint(double x, double y, double z) {
    VariableValue result;
    result.type = RT3DPOINT;
    result.point[0] = x;
    result.point[1] = y;
    result.point[2] = z;
    return result;
}

SystemVariables::SystemVariables() {
    // Plain variables of the host that commands and modules read; the console host has no dialogs, so
    // FILEDIA starts off.
    defineStored(L"CMDECHO", VariableValue::ofShort(1));
    defineStored(L"FILEDIA", VariableValue::ofShort(0));
    defineStored(L"PICKFIRST", VariableValue::ofShort(1));
    defineStored(L"PICKADD", VariableValue::ofShort(1));
    defineStored(L"PICKSTYLE", VariableValue::ofShort(1));
    defineStored(L"EXPERT", VariableValue::ofShort(0));
    defineStored(L"ERRNO", VariableValue::ofShort(0));
    defineStored(L"USERI1", VariableValue::ofShort(0));
    defineStored(L"USERR1", VariableValue::ofReal(0.0));
    defineStored(L"USERS1", VariableValue::ofText(L""));
    defineStored(L"ACADVER", VariableValue::ofText(L"17.2"), true);
    defineStored(L"PRODUCT", VariableValue::ofText(L"Quelto CAD"), true);
    defineStored(L"PROGRAM", VariableValue::ofText(L"quelto-cad"), true);
    defineStored(L"PLATFORM", VariableValue::ofText(L"Linux"), true);
    defineStored(L"SYSCODEPAGE", VariableValue::ofText(platform::utf8ToWide(platform::systemCodeSet())),
                 true);
}

SystemVariables& SystemVariables::instance() {
    static SystemVariables variables;
    return variables;
}

void SystemVariables::defineStored(const std::wstring& name, VariableValue initial, bool readOnly) {
    SystemVariable variable;
    variable.type = initial.type;
    variable.readOnly = readOnly;
    variable.stored = std::move(initial);
    m_variables[platform::toUpperAscii(name)] = std::move(variable);
}

void SystemVariables::defineBound(const std::wstring& name, short type,
                                  std::function<bool(VariableValue&)> get,
                                  std::function<bool(const VariableValue&)> set) {
    SystemVariable variable;
    variable.type = type;
    variable.readOnly = !set;
    variable.get = std::move(get);
    variable.set = std::move(set);
    m_variables[platform::toUpperAscii(name)] = std::move(variable);
}

bool SystemVariables::isDefined(const std::wstring& name) const {
    return m_variables.count(platform::toUpperAscii(name)) != 0;
}

bool SystemVariables::getValue(const std::wstring& name, VariableValue& value) const {
    const auto found = m_variables.find(platform::toUpperAscii(name));
    if (found == m_variables.end()) {
        return false;
    }
    const SystemVariable& variable = found->second;
    if (!variable.get) {
        value = variable.stored;
        return true;
    }
    value.type = variable.type;
    return variable.get(value);
}

int SystemVariables::get(const wchar_t* name, resbuf* result) const {
    VariableValue value;
    if (name == nullptr || result == nullptr || !getValue(name, value)) {
        return RTERROR;
    }
    toBuffer(value, *result);
    return RTNORM;
}

int SystemVariables::set(const wchar_t* name, const resbuf* value) {
    if (name == nullptr || value == nullptr) {
        return RTERROR;
    }
    const auto found = m_variables.find(platform::toUpperAscii(name));
    if (found == m_variables.end() || found->second.readOnly) {
        return RTERROR;
    }
    SystemVariable& variable = found->second;
    VariableValue converted;
    if (!fromBuffer(*value, variable.type, converted)) {
        return RTERROR;
    }
    if (variable.set) {
        return variable.set(converted) ? RTNORM : RTERROR;
    }
    variable.stored = std::move(converted);
    return RTNORM;
}

} // namespace cad::ed

int acedGetVar(const ACHAR* name, resbuf* result) {
    return cad::ed::SystemVariables::instance().get(name, result);
}

int acedSetVar(const ACHAR* name, const resbuf* value) {
    return cad::ed::SystemVariables::instance().set(name, value);
}
