// CZEBBaseStringAnalyse, evaluation phase: the record tree is computed depth first with an explicit stack,
// operators here and calls through the function library, with the short-cuts of "if", "and" and "or".

#include "platform/wide_text.h"
#include "quelto/baselib/zeb_base_string_analyse.h"

#include <cmath>
#include <functional>
#include <stdexcept>
#include <utility>

namespace {

// "&" can reuse a generated record by its name and so double a text with every step; past this many
// characters produced by one analysis it stops with an error instead of exhausting memory.
constexpr std::size_t ConcatenationLimit = std::size_t{1} << 24;

const CZEBOperateVar& recordAt(const CArray<CZEBOperateVar>& records, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= records.size()) {
        throw std::invalid_argument("CZEBBaseStringAnalyse: record index out of range");
    }
    return records[static_cast<std::size_t>(index)];
}

enum class Evaluation : unsigned char { Operator, If, And, Or, Call };
enum RecordState : unsigned char { Pending, Running, Done };

struct EvaluationFrame {
    int index; // into the record list; -1 for a root record that lives outside it
    int next;  // how far the parameters have been taken
    Evaluation evaluation;
};

} // namespace

int CZEBBaseStringAnalyse::DoWithAllFun() {
    if (m_arrOperate.empty()) {
        return ResultNothing;
    }
    return FinishFun(m_arrOperate.back());
}

// Depth first over the record tree with an explicit stack. A record that several others name (a
// generated name typed in the expression) is computed once per analysis: recomputing it gives the same
// value, and sharing must not make the work grow exponentially.
int CZEBBaseStringAnalyse::FinishFun(CZEBOperateVar& record) {
    if (record.m_strOperate.empty()) {
        return ResultSuccess;
    }
    std::vector<unsigned char> state(m_arrOperate.size(), Pending);
    int rootIndex = -1;
    const std::less<const CZEBOperateVar*> before;
    if (!m_arrOperate.empty() && !before(&record, m_arrOperate.data()) &&
        before(&record, m_arrOperate.data() + m_arrOperate.size())) {
        rootIndex = static_cast<int>(&record - m_arrOperate.data());
    }
    const auto at = [&](int index) -> CZEBOperateVar& {
        return index < 0 ? record : m_arrOperate[static_cast<std::size_t>(index)];
    };
    std::vector<EvaluationFrame> stack;
    stack.reserve(16);

    const auto enter = [&](int index) -> int {
        CZEBOperateVar& entered = at(index);
        Evaluation evaluation = Evaluation::Operator;
        if (!entered.IsOperate()) {
            entered.m_strOperate = platform::toLowerAscii(entered.m_strOperate);
            evaluation = Evaluation::Call;
            if (entered.m_strOperate == L"if") {
                if (!CheckParamSize(entered.m_strOperate, entered.GetParamSize(), 3)) {
                    return ResultArgumentCount;
                }
                evaluation = Evaluation::If;
            } else if (entered.m_strOperate == L"and" || entered.m_strOperate == L"or") {
                if (entered.GetParamSize() < 1) {
                    SetLastErrorInfo(platform::formatWide(L"函数%s的形参个数至少1个,当前指定的个数是0个",
                                                          entered.m_strOperate.c_str()));
                    return ResultArgumentCount;
                }
                evaluation = entered.m_strOperate == L"and" ? Evaluation::And : Evaluation::Or;
            }
        }
        if (index >= 0) {
            state[static_cast<std::size_t>(index)] = Running;
        }
        stack.push_back({index, 0, evaluation});
        return ResultSuccess;
    };
    const auto enterParameter = [&](int parameter) -> int {
        recordAt(m_arrOperate, parameter);
        const std::size_t slot = static_cast<std::size_t>(parameter);
        if (slot >= state.size()) {
            state.resize(m_arrOperate.size(), Pending);
        }
        if (state[slot] != Pending) {
            return ResultSuccess;
        }
        if (m_arrOperate[slot].m_strOperate.empty()) {
            state[slot] = Done;
            return ResultSuccess;
        }
        return enter(parameter);
    };
    const auto leave = [&](int index) {
        stack.pop_back();
        if (index >= 0) {
            state[static_cast<std::size_t>(index)] = Done;
        }
    };

    int code = enter(rootIndex);
    while (code == ResultSuccess && !stack.empty()) {
        EvaluationFrame& frame = stack.back();
        const int index = frame.index;
        CZEBOperateVar& current = at(index);
        int parameter = -1;
        switch (frame.evaluation) {
        case Evaluation::Operator:
        case Evaluation::Call:
            if (frame.next < current.GetParamSize()) {
                parameter = current[frame.next++];
            } else {
                code = frame.evaluation == Evaluation::Operator ? DoOperate(current) : GetFunValue(current);
                leave(index);
                continue;
            }
            break;
        case Evaluation::If:
            if (frame.next == 0) {
                parameter = current[0];
            } else if (frame.next == 1) {
                parameter = current[at(current[0]).GetOValue() != 0 ? 1 : 2];
            } else {
                code = GetFunValue(current);
                leave(index);
                continue;
            }
            ++frame.next;
            break;
        case Evaluation::And:
        case Evaluation::Or: {
            // "and" stops at the first false argument, "or" at the first true one.
            const int deciding = frame.evaluation == Evaluation::And ? 0 : 1;
            const bool decided = frame.next > 0 && at(current[frame.next - 1]).GetOValue() == deciding;
            if (decided || frame.next == current.GetParamSize()) {
                current.m_nType = CZEBOperateVar::TypeBoolean;
                current.m_nValue = decided ? deciding : 1 - deciding;
                leave(index);
                continue;
            }
            parameter = current[frame.next++];
            break;
        }
        }
        code = enterParameter(parameter);
    }
    return code;
}

int CZEBBaseStringAnalyse::DoOperate(CZEBOperateVar& record) {
    const CZEBOperateVar& left = recordAt(m_arrOperate, record[0]);
    const CZEBOperateVar& right = recordAt(m_arrOperate, record[1]);
    const wchar_t operatorCode = record.m_strOperate.size() == 1 ? record.m_strOperate.front() : L'\0';
    double real = 0.0;
    int boolean = 0;
    switch (operatorCode) {
    case L'^':
        real = std::pow(left.GetDValue(), right.GetDValue());
        break;
    case L'*':
        real = left.GetDValue() * right.GetDValue();
        break;
    case L'/':
        if (right.GetDValue() == 0.0) {
            SetLastErrorInfo(L"除数为0错误");
            return ResultOperand;
        }
        real = left.GetDValue() / right.GetDValue();
        break;
    case L'+':
        real = left.GetDValue() + right.GetDValue();
        break;
    case L'-':
        real = left.GetDValue() - right.GetDValue();
        break;
    case L'&': {
        const auto length = [](const CZEBOperateVar& operand) {
            return operand.m_nType == CZEBOperateVar::TypeString ? operand.m_strValue.size() : std::size_t{0};
        };
        m_nConcatenatedChars += length(left) + length(right);
        if (m_nConcatenatedChars > ConcatenationLimit) {
            SetLastErrorInfo(L"运算结果字符串过长");
            return ResultOperand;
        }
        CString joined = left.GetSValue();
        joined += right.GetSValue();
        record.m_strValue = std::move(joined);
        record.m_nType = CZEBOperateVar::TypeString;
        return ResultSuccess;
    }
    case L'>':
        boolean = left.GetDValue() > right.GetDValue() ? 1 : 0;
        break;
    case L'<':
        boolean = left.GetDValue() < right.GetDValue() ? 1 : 0;
        break;
    case L'=':
        boolean = left.GetDValue() == right.GetDValue() ? 1 : 0;
        break;
    case L'!':
        boolean = left.GetDValue() != right.GetDValue() ? 1 : 0;
        break;
    default:
        SetLastErrorInfo(L"不存在的运算符号");
        return ResultOperator;
    }
    if (operatorCode == L'>' || operatorCode == L'<' || operatorCode == L'=' || operatorCode == L'!') {
        record.m_nType = CZEBOperateVar::TypeBoolean;
        record.m_nValue = boolean;
    } else {
        record.m_nType = CZEBOperateVar::TypeReal;
        record.m_dValue = real;
    }
    return ResultSuccess;
}

int CZEBBaseStringAnalyse::GetDValue(double& value, int index) {
    value = recordAt(m_arrOperate, index).GetDValue();
    return 0;
}

int CZEBBaseStringAnalyse::GetIValue(int& value, int index) {
    value = recordAt(m_arrOperate, index).GetIValue();
    return 0;
}

int CZEBBaseStringAnalyse::GetOValue(int& value, int index) {
    value = recordAt(m_arrOperate, index).GetOValue();
    return 0;
}

CString CZEBBaseStringAnalyse::GetSValue(int index) {
    return recordAt(m_arrOperate, index).GetSValue();
}
