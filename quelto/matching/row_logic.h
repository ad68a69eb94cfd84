// The property rows A to G of one run and their combination: every row compares one value of the
// entity, and the results are combined by AND, by OR or by the user's logic expression, which the base
// library's analyser evaluates with the row letters as variables.
#pragma once

#include "platform/export.h"
#include "platform/mfc_types.h"
#include "quelto/baselib/zeb_base_string_analyse.h"
#include "quelto/matching/row_operand.h"

#include <memory>
#include <span>
#include <vector>

namespace quelto::matching {

// An item of an enumeration property and the host's number for it.
struct EnumerationItem {
    const wchar_t* name;
    int number;
};

// How a matcher translates an enumeration row's value name: the listed names give their numbers, any
// other name gives `otherNumber`.
struct EnumerationNames {
    std::span<const EnumerationItem> items;
    int otherNumber;

    int numberOf(const CString& name) const;
};

// The value of one property of the entity under test, as its matcher reads it.
struct RowValue {
    enum class Kind : unsigned char {
        Unknown, // the matcher does not evaluate this id: the row is true
        Real,
        Integer,
        Text,
        Enumeration,       // `integer` is the entity's number, `names` translates the row's value
        TranslatedInteger, // `integer` against the row's operator with `criterion` as the right side
        Skipped,           // the row takes no part in the combination
        Satisfied          // a value no comparison applies to: the row is true
    };

    static RowValue real(double value) { return {Kind::Real, value, 0, {}, nullptr}; }
    static RowValue integer(int value) { return {Kind::Integer, 0.0, value, {}, nullptr}; }
    static RowValue text(CString value) { return {Kind::Text, 0.0, 0, std::move(value), nullptr}; }
    static RowValue enumeration(int number, const EnumerationNames& names) {
        return {Kind::Enumeration, 0.0, number, {}, &names};
    }
    static RowValue translatedInteger(int value, int criterion) {
        RowValue result{Kind::TranslatedInteger, 0.0, value, {}, nullptr};
        result.criterion = criterion;
        return result;
    }
    static RowValue yesNo(bool value);
    static RowValue skipped() { return {Kind::Skipped, 0.0, 0, {}, nullptr}; }
    static RowValue satisfied() { return {Kind::Satisfied, 0.0, 0, {}, nullptr}; }
    static RowValue unknown() { return {}; }

    Kind kind = Kind::Unknown;
    double realValue = 0.0;
    int integerValue = 0;
    CString textValue;
    const EnumerationNames* names = nullptr;
    int criterion = 0;
};

struct PropertyRow {
    int propertyId = 0;
    int letter = 0; // 0 = A ... 6 = G
    RowOperand operand;
};

class QUELTO_EXPORT RowLogic {
public:
    void load(const CArray<int, int>& propertyIds, const CArray<int, int>& letters,
              const CStringArray& operators, const CStringArray& values, int logicMode,
              const CString& expression);
    void clear();

    const std::vector<PropertyRow>& rows() const { return m_rows; }
    int logicMode() const { return m_logicMode; }
    double precision = 0.0001;

    // The raw result of one row for the entity's value.
    int rowResult(const RowValue& value, const RowOperand& operand) const;
    // 0 no decision yet, 1 accept, -1 reject; in expression mode the row's letter becomes a variable.
    int combine(int rowResult, std::size_t rowIndex, CZEBBaseStringAnalyse* analyser) const;
    // The entity's result after the last row; the expression's errors are shown in a message box.
    int finish(int lastRowResult, CZEBBaseStringAnalyse* analyser) const;

    // Runs every row over one entity; `valueOf(row)` gives the entity's value for the row's property id.
    // 1 match, 0 not.
    template <class ValueOf>
    int evaluate(ValueOf&& valueOf) const {
        if (m_rows.empty()) {
            return 1;
        }
        // Each entity gets its own analyser, so no variable carries over to the next one.
        std::unique_ptr<CZEBBaseStringAnalyse> analyser;
        if (m_logicMode == 2) {
            analyser = std::make_unique<CZEBBaseStringAnalyse>();
        }
        int lastResult = 1;
        for (std::size_t index = 0; index < m_rows.size(); ++index) {
            const PropertyRow& row = m_rows[index];
            const RowValue value = valueOf(row);
            if (value.kind == RowValue::Kind::Skipped) {
                continue;
            }
            lastResult = rowResult(value, row.operand);
            const int decision = combine(lastResult, index, analyser.get());
            if (decision != 0) {
                return decision > 0 ? 1 : 0;
            }
        }
        return finish(lastResult, analyser.get()) != 0 ? 1 : 0;
    }

private:
    std::vector<PropertyRow> m_rows;
    int m_logicMode = 0;
    CString m_analyserInput; // the expression with "&" as "*" and "|" as "+"
};

} // namespace quelto::matching
