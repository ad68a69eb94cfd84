// System variables: the host's named settings read and written with acedGetVar / acedSetVar. Plain
// variables keep their value here; variables that mirror the drawing (CTAB, DWGNAME, UCSORG, ...) are
// defined by the document layer with a getter and a setter over the current drawing.
#pragma once

#include "cad/ed/resbuf.h"
#include "platform/export.h"

#include <functional>
#include <map>
#include <string>

namespace cad::ed {

// A value as stored: the buffer type (RTSHORT, RTLONG, RTREAL, RTSTR, RT3DPOINT) and the matching member.
struct VariableValue {
    short type = RTSHORT;
    std::int32_t integer = 0;
    double real = 0.0;
    std::wstring text;
    double point[3] = {0.0, 0.0, 0.0};

    static VariableValue ofShort(int value);
    static VariableValue ofReal(double value);
    static VariableValue ofText(std::wstring value);
    static VariableValue ofPoint(double x, double y, double z);
};

struct SystemVariable {
    short type = RTSHORT;
    bool readOnly = false;
    // Hooks of a drawing-bound variable; a plain variable has neither and keeps `stored`.
    std::function<bool(VariableValue&)> get;
    std::function<bool(const VariableValue&)> set;
    VariableValue stored;
};

class QUELTO_EXPORT SystemVariables {
public:
    // The process-wide table, with the host's plain variables defined.
    static SystemVariables& instance();

    void defineStored(const std::wstring& name, VariableValue initial, bool readOnly = false);
    void defineBound(const std::wstring& name, short type, std::function<bool(VariableValue&)> get,
                     std::function<bool(const VariableValue&)> set = {});
    bool isDefined(const std::wstring& name) const;

    // RTNORM with the value in `result` (a text is malloc'ed for the caller), RTERROR for an unknown
    // name or a value the drawing cannot give.
    int get(const wchar_t* name, resbuf* result) const;
    // RTNORM, or RTERROR for an unknown or read-only name, a value of the wrong type or one the
    // variable rejects. Numbers convert between short, long and real; a 2D point gets z = 0.
    int set(const wchar_t* name, const resbuf* value);
    bool getValue(const std::wstring& name, VariableValue& value) const;

private:
    SystemVariables();
    std::map<std::wstring, SystemVariable> m_variables; // upper-case names
};

} // namespace cad::ed

QUELTO_EXPORT int acedGetVar(const ACHAR* name, resbuf* result);
QUELTO_EXPORT int acedSetVar(const ACHAR* name, const resbuf* value);
