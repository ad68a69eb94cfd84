// The filter-list compiler and evaluator. The list is parsed once (recursive descent over the -4
// grouping operators) into a tree whose leaves hold the group code, the relational operator(s) and the
// value already converted (wild-card patterns compiled), so evaluating an entity allocates nothing.

#include "cad/ed/selection_filter.h"

#include "platform/wide_text.h"

#include <algorithm>
#include <cmath>

namespace cad::ed {

GroupValue GroupValue::ofText(std::wstring_view value) {
    GroupValue result;
    result.kind = Kind::Text;
    result.text = value;
    return result;
}
GroupValue GroupValue::ofInteger(std::int64_t value) {
    GroupValue result;
    result.kind = Kind::Integer;
    result.integer = value;
    return result;
}
GroupValue GroupValue::ofReal(double value) {
    GroupValue result;
    result.kind = Kind::Real;
    result.real = value;
    return result;
}
GroupValue GroupValue::ofPoint(double x, double y, double z) {
    GroupValue result;
    result.kind = Kind::Point;
    result.point[0] = x;
    result.point[1] = y;
    result.point[2] = z;
    return result;
}

FilterSubject::~FilterSubject() = default;

std::optional<GroupValue> defaultGroupValue(int code) {
    switch (code) {
    case 6:
        return GroupValue::ofText(L"BYLAYER");
    case 39:
        return GroupValue::ofReal(0.0);
    case 48:
        return GroupValue::ofReal(1.0);
    case 60:
    case 67:
        return GroupValue::ofInteger(0);
    case 62:
        return GroupValue::ofInteger(256);
    case 210:
        return GroupValue::ofPoint(0.0, 0.0, 1.0);
    case 370:
        return GroupValue::ofInteger(-1);
    default:
        return std::nullopt;
    }
}

namespace {

enum class Comparison { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual, Any, BitAnd, BitMaskEqual };

std::optional<Comparison> parseComparison(std::wstring_view text) {
    struct Entry {
        std::wstring_view text;
        Comparison comparison;
    };
    static constexpr Entry kEntries[] = {
        {L"=", Comparison::Equal},     {L"!=", Comparison::NotEqual},     {L"/=", Comparison::NotEqual},
        {L"<>", Comparison::NotEqual}, {L"<", Comparison::Less},          {L"<=", Comparison::LessEqual},
        {L">", Comparison::Greater},   {L">=", Comparison::GreaterEqual}, {L"*", Comparison::Any},
        {L"&", Comparison::BitAnd},    {L"&=", Comparison::BitMaskEqual},
    };
    const auto trimmed = [](std::wstring_view value) {
        while (!value.empty() && value.front() == L' ') {
            value.remove_prefix(1);
        }
        while (!value.empty() && value.back() == L' ') {
            value.remove_suffix(1);
        }
        return value;
    };
    text = trimmed(text);
    for (const Entry& entry : kEntries) {
        if (entry.text == text) {
            return entry.comparison;
        }
    }
    return std::nullopt;
}

bool nearlyEqual(double first, double second) {
    return std::fabs(first - second) <= 1e-10 * std::max({1.0, std::fabs(first), std::fabs(second)});
}

bool compareReal(Comparison comparison, double value, double operand) {
    switch (comparison) {
    case Comparison::Equal:
        return nearlyEqual(value, operand);
    case Comparison::NotEqual:
        return !nearlyEqual(value, operand);
    case Comparison::Less:
        return value < operand && !nearlyEqual(value, operand);
    case Comparison::LessEqual:
        return value <= operand || nearlyEqual(value, operand);
    case Comparison::Greater:
        return value > operand && !nearlyEqual(value, operand);
    case Comparison::GreaterEqual:
        return value >= operand || nearlyEqual(value, operand);
    case Comparison::Any:
        return true;
    case Comparison::BitAnd:
    case Comparison::BitMaskEqual:
        return false;
    }
    return false;
}

bool compareInteger(Comparison comparison, std::int64_t value, std::int64_t operand) {
    switch (comparison) {
    case Comparison::Equal:
        return value == operand;
    case Comparison::NotEqual:
        return value != operand;
    case Comparison::Less:
        return value < operand;
    case Comparison::LessEqual:
        return value <= operand;
    case Comparison::Greater:
        return value > operand;
    case Comparison::GreaterEqual:
        return value >= operand;
    case Comparison::Any:
        return true;
    case Comparison::BitAnd:
        return (value & operand) != 0;
    case Comparison::BitMaskEqual:
        return (value & operand) == operand;
    }
    return false;
}

int compareFolded(std::wstring_view first, std::wstring_view second) {
    const std::size_t length = std::min(first.size(), second.size());
    for (std::size_t index = 0; index < length; ++index) {
        const wchar_t a = foldCase(first[index]);
        const wchar_t b = foldCase(second[index]);
        if (a != b) {
            return a < b ? -1 : 1;
        }
    }
    return first.size() == second.size() ? 0 : (first.size() < second.size() ? -1 : 1);
}

bool equalFolded(std::wstring_view first, std::wstring_view second) {
    return first.size() == second.size() && compareFolded(first, second) == 0;
}

bool isBlank(std::wstring_view text) {
    return text.find_first_not_of(L' ') == std::wstring_view::npos;
}

// Groups the host's filter does not test: entity names, handles, extended-data values outside a -3
// item, binary chunks and result types that are no DXF group.
bool isIgnoredGroup(int restype, ResbufValueKind kind) {
    if (restype == RTDXF0) {
        return false;
    }
    return restype == -1 || restype == 5 || (restype >= 1000 && restype <= 1071) || restype >= RTNONE ||
           kind == ResbufValueKind::Binary;
}

std::wstring upperOperator(const resbuf* item) {
    return item->resval.rstring == nullptr ? std::wstring() : platform::toUpperAscii(item->resval.rstring);
}

} // namespace

struct SelectionFilter::Node {
    // Ignored: an item the host's filter skips (entity names, handles, loose extended-data values,
    // binary chunks, non-DXF types); it counts as an operand but never decides anything.
    enum class Kind { And, Or, Xor, Not, Leaf, ExtendedData, Ignored };
    enum class ValueKind { Text, Integer, Real, Point };

    Kind kind = Kind::And;
    std::vector<Node> children;

    int code = 0;
    Comparison comparisons[3] = {Comparison::Equal, Comparison::Equal, Comparison::Equal};
    ValueKind valueKind = ValueKind::Integer;
    std::wstring text;
    std::optional<WildcardPattern> pattern;
    std::vector<WildcardPattern> applicationPatterns;
    std::int64_t integer = 0;
    double real = 0.0;
    double point[3] = {0.0, 0.0, 0.0};

    // Results of the text test per key of FilterSubject::textKey: -1 not yet known, else 0 or 1.
    mutable std::vector<std::int8_t> keyResults;

    bool evaluate(const FilterSubject& subject) const;
    bool testText(std::wstring_view value) const;
    bool testKeyedText(const FilterSubject& subject, std::wstring_view (FilterSubject::*read)() const) const;
    bool testValue(const GroupValue& value) const;
};

bool SelectionFilter::Node::testText(std::wstring_view value) const {
    const Comparison comparison = comparisons[0];
    switch (comparison) {
    case Comparison::Equal:
    case Comparison::NotEqual: {
        const bool equal = pattern->isLiteral() ? equalFolded(value, text) : pattern->matches(value);
        return equal == (comparison == Comparison::Equal);
    }
    case Comparison::Less:
        return compareFolded(value, text) < 0;
    case Comparison::LessEqual:
        return compareFolded(value, text) <= 0;
    case Comparison::Greater:
        return compareFolded(value, text) > 0;
    case Comparison::GreaterEqual:
        return compareFolded(value, text) >= 0;
    case Comparison::Any:
        return true;
    case Comparison::BitAnd:
    case Comparison::BitMaskEqual:
        return false;
    }
    return false;
}

bool SelectionFilter::Node::testValue(const GroupValue& value) const {
    switch (valueKind) {
    case ValueKind::Text:
        return value.kind == GroupValue::Kind::Text && testText(value.text);
    case ValueKind::Integer:
        if (value.kind == GroupValue::Kind::Integer) {
            return compareInteger(comparisons[0], value.integer, integer);
        }
        return value.kind == GroupValue::Kind::Real &&
               compareReal(comparisons[0], value.real, static_cast<double>(integer));
    case ValueKind::Real:
        if (value.kind == GroupValue::Kind::Real || value.kind == GroupValue::Kind::Integer) {
            const double number =
                value.kind == GroupValue::Kind::Real ? value.real : static_cast<double>(value.integer);
            return compareReal(comparisons[0], number, real);
        }
        return false;
    case ValueKind::Point:
        if (value.kind != GroupValue::Kind::Point) {
            return false;
        }
        for (int axis = 0; axis < 3; ++axis) {
            if (!compareReal(comparisons[axis], value.point[axis], point[axis])) {
                return false;
            }
        }
        return true;
    }
    return false;
}

bool SelectionFilter::Node::testKeyedText(const FilterSubject& subject,
                                          std::wstring_view (FilterSubject::*read)() const) const {
    // A drawing has a few hundred names at most; keys beyond this bound are simply not cached.
    constexpr std::uint32_t maximumCachedKey = 1u << 16;
    const std::uint32_t key = subject.textKey(code);
    if (key == 0 || key >= maximumCachedKey) {
        return testText((subject.*read)());
    }
    if (keyResults.size() <= key) {
        keyResults.resize(key + 1, -1);
    }
    std::int8_t& known = keyResults[key];
    if (known < 0) {
        known = testText((subject.*read)()) ? 1 : 0;
    }
    return known == 1;
}

bool SelectionFilter::Node::evaluate(const FilterSubject& subject) const {
    const auto decides = [](const Node& child) { return child.kind != Kind::Ignored; };
    const auto passes = [&subject](const Node& child) { return child.evaluate(subject); };
    switch (kind) {
    case Kind::Ignored:
        return true;
    case Kind::And:
        return std::all_of(children.begin(), children.end(), passes);
    case Kind::Or:
        if (std::none_of(children.begin(), children.end(), decides)) {
            return true;
        }
        return std::any_of(children.begin(), children.end(),
                           [&](const Node& child) { return decides(child) && passes(child); });
    case Kind::Xor:
        if (std::none_of(children.begin(), children.end(), decides)) {
            return true;
        }
        return (decides(children[0]) && passes(children[0])) != (decides(children[1]) && passes(children[1]));
    case Kind::Not:
        return !decides(children[0]) || !passes(children[0]);
    case Kind::ExtendedData: {
        thread_local std::vector<GroupValue> applications;
        applications.clear();
        subject.groupValues(1001, applications);
        const auto carries = [](const WildcardPattern& applicationPattern) {
            return std::any_of(applications.begin(), applications.end(), [&](const GroupValue& application) {
                return application.kind == GroupValue::Kind::Text &&
                       applicationPattern.matches(application.text);
            });
        };
        // Several application names: the entity must carry data of every one of them.
        if (applicationPatterns.empty()) {
            return !applications.empty();
        }
        return std::all_of(applicationPatterns.begin(), applicationPatterns.end(), carries);
    }
    case Kind::Leaf:
        break;
    }
    switch (code) {
    case 0:
        return testKeyedText(subject, &FilterSubject::dxfName);
    case 8:
        return testKeyedText(subject, &FilterSubject::layer);
    case 6:
        return testKeyedText(subject, &FilterSubject::linetype);
    case 62:
        return testValue(GroupValue::ofInteger(subject.colorIndex()));
    case 370:
        return testValue(GroupValue::ofInteger(subject.lineWeight()));
    default:
        break;
    }
    thread_local std::vector<GroupValue> values;
    values.clear();
    subject.groupValues(code, values);
    if (values.empty()) {
        const std::optional<GroupValue> fallback = defaultGroupValue(code);
        return fallback && testValue(*fallback);
    }
    // A group the entity repeats passes when any of its values does.
    return std::any_of(values.begin(), values.end(),
                       [this](const GroupValue& value) { return testValue(value); });
}

namespace {

class FilterParser {
public:
    using Node = SelectionFilter::Node;

    explicit FilterParser(const resbuf* list) {
        for (const resbuf* item = list; item != nullptr; item = item->rbnext) {
            m_items.push_back(item);
        }
    }

    std::optional<Node> parse(FilterError& error) {
        Node root;
        root.kind = Node::Kind::And;
        if (!parseSequence(root.children, L"", error)) {
            return std::nullopt;
        }
        return root;
    }

private:
    bool fail(FilterError& error, std::size_t index, std::wstring message) {
        error.itemIndex = static_cast<int>(index);
        error.message = std::move(message);
        return false;
    }

    bool isOperator(std::size_t index) const {
        return index < m_items.size() && m_items[index]->restype == -4;
    }

    // Parses operands up to the closing operator (empty: up to the end of the list).
    bool parseSequence(std::vector<Node>& operands, const std::wstring& closing, FilterError& error) {
        while (m_position < m_items.size()) {
            if (isOperator(m_position)) {
                const std::wstring word = upperOperator(m_items[m_position]);
                if (word == L"AND>" || word == L"OR>" || word == L"XOR>" || word == L"NOT>") {
                    if (word != closing) {
                        return fail(error, m_position,
                                    closing.empty()
                                        ? L"\"" + word + L"\" closes no group"
                                        : L"\"" + word + L"\" where \"" + closing + L"\" was expected");
                    }
                    ++m_position;
                    return true;
                }
            }
            Node operand;
            if (!parseOperand(operand, error)) {
                return false;
            }
            operands.push_back(std::move(operand));
        }
        if (!closing.empty()) {
            return fail(error, m_items.size(), L"the list ends before \"" + closing + L"\"");
        }
        return true;
    }

    bool parseOperand(Node& node, FilterError& error) {
        const std::size_t start = m_position;
        const resbuf* item = m_items[m_position];
        if (item->restype == -4) {
            const std::wstring word = upperOperator(item);
            struct Group {
                std::wstring_view opening;
                std::wstring_view closing;
                Node::Kind kind;
                std::size_t minimum;
                std::size_t maximum;
            };
            static constexpr Group kGroups[] = {
                {L"<AND", L"AND>", Node::Kind::And, 1, SIZE_MAX},
                {L"<OR", L"OR>", Node::Kind::Or, 1, SIZE_MAX},
                {L"<XOR", L"XOR>", Node::Kind::Xor, 2, 2},
                {L"<NOT", L"NOT>", Node::Kind::Not, 1, 1},
            };
            for (const Group& group : kGroups) {
                if (word == group.opening) {
                    ++m_position;
                    node.kind = group.kind;
                    if (!parseSequence(node.children, std::wstring(group.closing), error)) {
                        return false;
                    }
                    if (node.children.size() < group.minimum || node.children.size() > group.maximum) {
                        return fail(error, start,
                                    L"\"" + word + L"\" takes " +
                                        (group.minimum != group.maximum ? L"at least one operand"
                                         : group.minimum == 1           ? L"exactly one operand"
                                                                        : L"exactly two operands") +
                                        L", found " + std::to_wstring(node.children.size()));
                    }
                    return true;
                }
            }
            return parseRelational(node, error);
        }
        if (item->restype == -3) {
            ++m_position;
            node.kind = Node::Kind::ExtendedData;
            while (m_position < m_items.size() && m_items[m_position]->restype == 1001) {
                const ACHAR* name = m_items[m_position]->resval.rstring;
                node.applicationPatterns.emplace_back(name == nullptr ? L"" : name, true);
                ++m_position;
            }
            return true;
        }
        ++m_position;
        return makeLeaf(node, item, L"=", start, error);
    }

    bool parseRelational(Node& node, FilterError& error) {
        const std::size_t start = m_position;
        const resbuf* operatorItem = m_items[m_position++];
        const std::wstring_view word =
            operatorItem->resval.rstring == nullptr ? std::wstring_view() : operatorItem->resval.rstring;
        if (m_position >= m_items.size() || m_items[m_position]->restype == -4 ||
            m_items[m_position]->restype == -3) {
            return fail(error, start,
                        L"the operator \"" + std::wstring(word) + L"\" is not followed by a value");
        }
        const resbuf* valueItem = m_items[m_position++];
        return makeLeaf(node, valueItem, word, start, error);
    }

    bool makeLeaf(Node& node, const resbuf* item, std::wstring_view operatorText, std::size_t index,
                  FilterError& error) {
        node.kind = Node::Kind::Leaf;
        node.code = item->restype == RTDXF0 ? 0 : item->restype;
        const ResbufValueKind kind = resbufValueKind(item->restype);
        if (isIgnoredGroup(item->restype, kind)) {
            node.kind = Node::Kind::Ignored;
            return true;
        }
        switch (kind) {
        case ResbufValueKind::Text:
            node.valueKind = Node::ValueKind::Text;
            node.text = item->resval.rstring == nullptr ? L"" : item->resval.rstring;
            node.pattern.emplace(node.text, true);
            break;
        case ResbufValueKind::Short:
            node.valueKind = Node::ValueKind::Integer;
            node.integer = item->resval.rint;
            break;
        case ResbufValueKind::Long:
            node.valueKind = Node::ValueKind::Integer;
            node.integer = item->resval.rlong;
            break;
        case ResbufValueKind::Int64:
            node.valueKind = Node::ValueKind::Integer;
            node.integer = item->resval.mnInt64;
            break;
        case ResbufValueKind::EntityName:
            node.valueKind = Node::ValueKind::Integer;
            node.integer = item->resval.rlname[0];
            break;
        case ResbufValueKind::Real:
            node.valueKind = Node::ValueKind::Real;
            node.real = item->resval.rreal;
            break;
        case ResbufValueKind::Point:
            node.valueKind = Node::ValueKind::Point;
            std::copy(item->resval.rpoint, item->resval.rpoint + 3, node.point);
            break;
        case ResbufValueKind::Binary:
        case ResbufValueKind::None:
            return fail(error, index, L"group " + std::to_wstring(item->restype) + L" cannot be filtered");
        }
        // Points take one operator per axis ("<,>,*"); one operator alone applies to every axis, and an
        // axis whose operator is left out ("=,<>" or "=,,>") takes any value.
        std::vector<std::wstring_view> parts;
        std::size_t start = 0;
        for (std::size_t comma = operatorText.find(L','); comma != std::wstring_view::npos;
             comma = operatorText.find(L',', start)) {
            parts.push_back(operatorText.substr(start, comma - start));
            start = comma + 1;
        }
        parts.push_back(operatorText.substr(start));
        if (parts.size() != 1 && !(parts.size() <= 3 && node.valueKind == Node::ValueKind::Point)) {
            return fail(error, index, L"unknown operator \"" + std::wstring(operatorText) + L"\"");
        }
        for (std::size_t axis = 0; axis < 3; ++axis) {
            const std::wstring_view part =
                parts.size() == 1 ? parts[0] : (axis < parts.size() ? parts[axis] : std::wstring_view());
            const std::optional<Comparison> comparison =
                parts.size() > 1 && isBlank(part) ? Comparison::Any : parseComparison(part);
            if (!comparison) {
                return fail(error, index, L"unknown operator \"" + std::wstring(operatorText) + L"\"");
            }
            node.comparisons[axis] = *comparison;
        }
        const bool bitwise =
            node.comparisons[0] == Comparison::BitAnd || node.comparisons[0] == Comparison::BitMaskEqual;
        if (bitwise && node.valueKind != Node::ValueKind::Integer) {
            return fail(error, index,
                        L"the operator \"" + std::wstring(operatorText) + L"\" needs an integer group");
        }
        return true;
    }

    std::vector<const resbuf*> m_items;
    std::size_t m_position = 0;
};

} // namespace

SelectionFilter::SelectionFilter() = default;
SelectionFilter::SelectionFilter(SelectionFilter&&) noexcept = default;
SelectionFilter& SelectionFilter::operator=(SelectionFilter&&) noexcept = default;
SelectionFilter::~SelectionFilter() = default;

std::optional<SelectionFilter> SelectionFilter::compile(const resbuf* filterList, FilterError* error) {
    FilterError localError;
    FilterParser parser(filterList);
    std::optional<Node> root = parser.parse(localError);
    if (!root) {
        if (error != nullptr) {
            *error = std::move(localError);
        }
        return std::nullopt;
    }
    SelectionFilter filter;
    filter.m_root = std::make_unique<Node>(std::move(*root));
    return filter;
}

bool SelectionFilter::matches(const FilterSubject& subject) const {
    return m_root == nullptr || m_root->evaluate(subject);
}

bool SelectionFilter::isEmpty() const {
    return m_root == nullptr || (m_root->kind == Node::Kind::And && m_root->children.empty());
}

} // namespace cad::ed
