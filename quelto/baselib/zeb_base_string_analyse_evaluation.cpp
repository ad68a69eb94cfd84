// CZEBBaseStringAnalyse, evaluation phase: the record tree is computed depth first with an explicit stack,
// operators here and calls through the function library, with the short-cuts of "if", "and" and "or".

#include "platform/wide_text.h"
#include "quelto/baselib/zeb_base_string_analyse.h"

#include <cmath>
#include <functional>
#include <optional>
#include <stdexcept>
#include <utility>

namespace {

// "&" can reuse a generated record by its name and so double a text with every step; past this many
// characters produced by one analysis it stops with an error instead of exhausting memory.
constexpr std::size_t kConcatenationLimit = std::size_t{1} << 24;

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
class CZEBBaseStringAnalyse::RecordTreeWalk {
public:
    RecordTreeWalk(CZEBBaseStringAnalyse& analyser, CZEBOperateVar& root)
        : m_analyser(analyser), m_records(analyser.m_arrOperate), m_root(root),
          m_state(m_records.size(), Pending) {
        const std::less<const CZEBOperateVar*> before;
        if (!m_records.empty() && !before(&root, m_records.data()) &&
            before(&root, m_records.data() + m_records.size())) {
            m_rootIndex = static_cast<int>(&root - m_records.data());
        }
        m_stack.reserve(16);
    }

    int run() {
        int code = enter(m_rootIndex);
        while (code == ResultSuccess && !m_stack.empty()) {
            const std::optional<int> parameter = advance(code);
            if (parameter) {
                code = enterParameter(*parameter);
            }
        }
        return code;
    }

private:
    CZEBOperateVar& at(int index) { return index < 0 ? m_root : m_records[static_cast<std::size_t>(index)]; }

    // Pushes the frame of a record, after checking the argument counts of the calls that decide which
    // arguments they evaluate.
    int enter(int index) {
        CZEBOperateVar& entered = at(index);
        Evaluation evaluation = Evaluation::Operator;
        if (!entered.IsOperate()) {
            entered.m_strOperate = platform::toLowerAscii(entered.m_strOperate);
            evaluation = Evaluation::Call;
            if (entered.m_strOperate == L"if") {
                if (!m_analyser.CheckParamSize(entered.m_strOperate, entered.GetParamSize(), 3)) {
                    return ResultArgumentCount;
                }
                evaluation = Evaluation::If;
            } else if (entered.m_strOperate == L"and" || entered.m_strOperate == L"or") {
                if (entered.GetParamSize() < 1) {
                    m_analyser.SetLastErrorInfo(platform::formatWide(
                        L"函数%s的形参个数至少1个,当前指定的个数是0个", entered.m_strOperate.c_str()));
                    return ResultArgumentCount;
                }
                evaluation = entered.m_strOperate == L"and" ? Evaluation::And : Evaluation::Or;
            }
        }
        if (index >= 0) {
            m_state[static_cast<std::size_t>(index)] = Running;
        }
        m_stack.push_back({index, 0, evaluation});
        return ResultSuccess;
    }

    int enterParameter(int parameter) {
        recordAt(m_records, parameter);
        const std::size_t slot = static_cast<std::size_t>(parameter);
        if (slot >= m_state.size()) {
            m_state.resize(m_records.size(), Pending);
        }
        if (m_state[slot] != Pending) {
            return ResultSuccess;
        }
        if (m_records[slot].m_strOperate.empty()) {
            m_state[slot] = Done;
            return ResultSuccess;
        }
        return enter(parameter);
    }

    void leave(int index) {
        m_stack.pop_back();
        if (index >= 0) {
            m_state[static_cast<std::size_t>(index)] = Done;
        }
    }

    // Takes the frame on top one step: the parameter it needs next, or nothing once it is finished and
    // left, with `code` the outcome of computing its record.
    std::optional<int> advance(int& code) {
        EvaluationFrame& frame = m_stack.back();
        const int index = frame.index;
        CZEBOperateVar& current = at(index);
        switch (frame.evaluation) {
        case Evaluation::Operator:
        case Evaluation::Call:
            if (frame.next < current.GetParamSize()) {
                return current[frame.next++];
            }
            code = frame.evaluation == Evaluation::Operator ? m_analyser.DoOperate(current)
                                                            : m_analyser.GetFunValue(current);
            break;
        case Evaluation::If:
            // The condition, then the one branch it chooses.
            if (frame.next < 2) {
                const int argument = frame.next == 0 ? 0 : (at(current[0]).GetOValue() != 0 ? 1 : 2);
                ++frame.next;
                return current[argument];
            }
            code = m_analyser.GetFunValue(current);
            break;
        case Evaluation::And:
        case Evaluation::Or: {
            // "and" stops at the first false argument, "or" at the first true one.
            const int deciding = frame.evaluation == Evaluation::And ? 0 : 1;
            const bool decided = frame.next > 0 && at(current[frame.next - 1]).GetOValue() == deciding;
            if (!decided && frame.next < current.GetParamSize()) {
                return current[frame.next++];
            }
            current.m_nType = CZEBOperateVar::TypeBoolean;
            current.m_nValue = decided ? deciding : 1 - deciding;
            break;
        }
        }
        leave(index);
        return std::nullopt;
    }

    CZEBBaseStringAnalyse& m_analyser;
    CArray<CZEBOperateVar>& m_records;
    CZEBOperateVar& m_root;
    int m_rootIndex = -1;
    std::vector<unsigned char> m_state;
    std::vector<EvaluationFrame> m_stack;
};

int CZEBBaseStringAnalyse::FinishFun(CZEBOperateVar& record) {
    if (record.m_strOperate.empty()) {
        return ResultSuccess;
    }
    return RecordTreeWalk(*this, record).run();
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
        if (m_nConcatenatedChars > kConcatenationLimit) {
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
