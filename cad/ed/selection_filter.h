// Selection filters: a filter list (result-buffer chain of group values, -4 relational operators and
// -4 grouping operators) compiled once into a predicate tree, then evaluated per entity through a small
// interface that reads the entity's group values, so the hot loop never builds result buffers.
#pragma once

#include "cad/ed/resbuf.h"
#include "cad/ed/wildcard_pattern.h"
#include "platform/export.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cad::ed {

// One value an entity holds for a group code. Texts are views the subject keeps alive until the next
// call on it.
struct GroupValue {
    enum class Kind { Text, Integer, Real, Point };
    Kind kind = Kind::Integer;
    std::wstring_view text;
    std::int64_t integer = 0;
    double real = 0.0;
    double point[3] = {0.0, 0.0, 0.0};

    static GroupValue ofText(std::wstring_view value);
    static GroupValue ofInteger(std::int64_t value);
    static GroupValue ofReal(double value);
    static GroupValue ofPoint(double x, double y, double z);
};

// What a filter reads of an entity. The common groups have their own calls because every "X" selection
// asks for them; any other group goes through groupValues.
class QUELTO_EXPORT FilterSubject {
public:
    virtual ~FilterSubject();
    virtual std::wstring_view dxfName() const = 0;  // group 0
    virtual std::wstring_view layer() const = 0;    // group 8
    virtual int colorIndex() const = 0;             // group 62, 256 when not stored
    virtual int lineWeight() const = 0;             // group 370, -1 when not stored
    virtual std::wstring_view linetype() const = 0; // group 6, "BYLAYER" when not stored
    // Every value the entity stores for the code, in order (several for repeated groups such as the
    // vertices of a polyline); extended data groups (1000-1071) included. Empty when not stored.
    virtual void groupValues(int code, std::vector<GroupValue>& values) const = 0;
    // A non-zero number that is the same for every entity whose text of group 0, 6 or 8 is the same
    // (an interned name's index), so a filter tests each distinct name once; 0 when there is none.
    virtual std::uint32_t textKey(int code) const { return 0; }
};

// The host's value for a group an entity does not store (62 -> 256, 370 -> -1, 6 -> "BYLAYER", ...).
QUELTO_EXPORT std::optional<GroupValue> defaultGroupValue(int code);

struct FilterError {
    int itemIndex = 0; // 0-based position of the offending buffer in the chain
    std::wstring message;
};

class QUELTO_EXPORT SelectionFilter {
public:
    // Compiles a filter list; null list means "everything". On a malformed list returns nothing and
    // fills `error` with the item and the reason.
    static std::optional<SelectionFilter> compile(const resbuf* filterList, FilterError* error = nullptr);

    SelectionFilter();
    SelectionFilter(SelectionFilter&&) noexcept;
    SelectionFilter& operator=(SelectionFilter&&) noexcept;
    ~SelectionFilter();

    bool matches(const FilterSubject& subject) const;
    bool isEmpty() const;

    // The node types of the compiled tree; public only so the compiler's helpers can name them.
    struct Node;

private:
    std::unique_ptr<Node> m_root;
};

} // namespace cad::ed
