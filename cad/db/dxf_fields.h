// The attribute tables that drive loading, saving and the DXF data list of every database class: each
// class declares once which group code goes to which member (and of which type, default and version),
// and the generic readers and writers in object_io.cpp do the rest.
#pragma once

#include "cad/db/db_handle.h"
#include "cad/db/name_pool.h"
#include "cad/dxf/tag.h"
#include "cad/dxf/text_codec.h"
#include "platform/export.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

class AcDbObject;

namespace cad::db {

// DXF versions as the numbers of $ACADVER ("AC1015" -> 1015).
inline constexpr int kVersionR12 = 1009;
inline constexpr int kVersionR13 = 1012;
inline constexpr int kVersionR2000 = 1015;
inline constexpr int kVersionR2004 = 1018;
inline constexpr int kVersionR2007 = 1021;
inline constexpr int kVersionR2010 = 1024;

// Text conversions of one load or save: decoding with the drawing's code page, a cache of names (the
// same layer name is decoded once per drawing, not once per entity) and scratch space for values being
// written.
class QUELTO_EXPORT TextContext {
public:
    explicit TextContext(const dxf::TextCodec& codec) : m_codec(codec) {}
    const dxf::TextCodec& codec() const { return m_codec; }
    std::wstring decode(std::string_view bytes) const { return m_codec.decode(bytes); }
    Name name(std::string_view bytes);
    // Encoded text; the view stays valid until the next call of an encode function.
    std::string_view encode(std::wstring_view text);
    std::string_view encodeName(Name name);
    std::string& scratch() { return m_scratch; }

private:
    struct TransparentHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    // Recently decoded names by a cheap slot number (length and end bytes): the few layer and style
    // names that alternate through a drawing's entities are found without hashing.
    struct RecentName {
        std::string bytes;
        Name name;
    };
    static constexpr std::size_t kRecentNameSlots = 16;
    static std::size_t recentSlotOf(std::string_view bytes) {
        return (bytes.size() * 7 + static_cast<unsigned char>(bytes.front()) +
                static_cast<unsigned char>(bytes.back()) * 3) %
               kRecentNameSlots;
    }

    const dxf::TextCodec& m_codec;
    std::array<RecentName, kRecentNameSlots> m_recentNames;
    std::unordered_map<std::string, Name, TransparentHash, std::equal_to<>> m_names;
    std::unordered_map<std::uint32_t, std::string> m_encodedNames;
    std::string m_scratch;
};

using FieldLoadFunction = void (*)(AcDbObject&, std::size_t element, const dxf::Tag&, TextContext&);
using FieldSaveFunction = void (*)(const AcDbObject&, std::size_t element, TextContext&, dxf::Tag&);
using ListCountFunction = std::size_t (*)(const AcDbObject&);
using ListAppendFunction = void (*)(AcDbObject&);
using ListReserveFunction = void (*)(AcDbObject&, std::size_t);

struct Field {
    std::int16_t code = 0;
    std::int16_t subclass = -1; // index of the subclass marker field this field follows; -1: anywhere
    std::int8_t list = -1;      // index into ClassTable::lists for repeated groups
    bool startsElement = false; // this code opens a new element of its list
    bool optional = false;      // left out of new objects' output while equal to the default
    bool countOf = false;       // writes the size of `list` (LWPOLYLINE 90, SPLINE 72...) instead of a member
    std::int16_t minVersion = 0; // written for new objects only from this version on
    std::string_view markerText; // the subclass name of code-100 marker fields
    double defaultReal = 0.0;
    std::int64_t defaultInteger = 0;
    std::string_view defaultText;
    FieldLoadFunction load = nullptr;
    FieldSaveFunction save = nullptr;

    Field& byDefault(double value) {
        optional = true;
        defaultReal = value;
        defaultInteger = static_cast<std::int64_t>(value);
        return *this;
    }
    Field& byDefaultText(std::string_view text) {
        optional = true;
        defaultText = text;
        return *this;
    }
    Field& since(int version) {
        minVersion = static_cast<std::int16_t>(version);
        return *this;
    }
};

struct ListInfo {
    ListCountFunction count = nullptr;
    ListAppendFunction append = nullptr;
    ListReserveFunction reserve = nullptr; // room for the count a file announces before the elements
};

// The attribute table of one class. Fields are in the order new objects are written; loading maps a
// group code to the first field with that code whose subclass matches and that has not been filled yet.
class QUELTO_EXPORT ClassTable {
public:
    explicit ClassTable(std::string dxfName) : m_dxfName(std::move(dxfName)) { m_firstByCode.fill(-1); }

    const std::string& dxfName() const { return m_dxfName; }
    const std::vector<Field>& fields() const { return m_fields; }
    const std::vector<ListInfo>& lists() const { return m_lists; }
    // First field for `code` (codes below 1000), then the chain of further fields with the same code.
    int firstField(int code) const { return code >= 0 && code < 1000 ? m_firstByCode[code] : -1; }
    int nextSameCode(int field) const { return m_nextSameCode[field]; }
    int handleCode() const { return m_handleCode; }

    // Building (done once per class, in the class's table function).
    ClassTable& add(Field field);
    ClassTable& marker(std::string_view subclassName);
    // Fields added after endSubclass() may appear under any marker (R12 files have none).
    ClassTable& anySubclass() {
        m_currentSubclass = -1;
        return *this;
    }
    int addList(ListInfo list) {
        m_lists.push_back(list);
        return static_cast<int>(m_lists.size() - 1);
    }
    ClassTable& setHandleCode(int code) {
        m_handleCode = code;
        return *this;
    }
    Field& last() { return m_fields.back(); }
    // A copy under another type name, with one subclass marker renamed (IMAGE -> WIPEOUT).
    ClassTable renamed(std::string dxfName, std::string_view oldMarker, std::string_view newMarker) const {
        ClassTable copy = *this;
        copy.m_dxfName = std::move(dxfName);
        for (Field& field : copy.m_fields) {
            if (field.markerText == oldMarker) {
                field.markerText = newMarker;
            }
        }
        return copy;
    }

private:
    std::string m_dxfName;
    std::vector<Field> m_fields;
    std::vector<ListInfo> m_lists;
    std::array<std::int16_t, 1000> m_firstByCode{};
    std::vector<std::int16_t> m_nextSameCode;
    std::int16_t m_currentSubclass = -1;
    int m_handleCode = 5;
};

// ---- Member access by a path of member pointers: field<&AcDbLine::m_start, &AcGePoint3d::x>(10). ----
namespace fields {

template <class Member>
struct MemberTraits;
template <class Class, class Type>
struct MemberTraits<Type Class::*> {
    using Owner = Class;
    using Value = Type;
};

template <auto... Path>
struct Follow;
template <>
struct Follow<> {
    template <class T>
    static T& apply(T& value) {
        return value;
    }
};
template <auto First, auto... Rest>
struct Follow<First, Rest...> {
    template <class T>
    static auto& apply(T& value) {
        return Follow<Rest...>::apply(value.*First);
    }
};

template <auto First, auto... Rest>
auto& access(const AcDbObject& object) {
    using Owner = typename MemberTraits<decltype(First)>::Owner;
    auto& owner = static_cast<Owner&>(const_cast<AcDbObject&>(object));
    return Follow<Rest...>::apply(owner.*First);
}

// How one member type travels in a tag.
template <class T>
struct Codec;
template <>
struct Codec<double> {
    static void load(double& value, const dxf::Tag& tag, TextContext&) {
        value = tag.isDouble() ? tag.real : static_cast<double>(tag.integer);
    }
    static void save(double value, TextContext&, dxf::Tag& tag) {
        tag = dxf::Tag::makeDouble(tag.code, value);
    }
};
template <class T>
requires std::is_integral_v<T>
struct Codec<T> {
    static void load(T& value, const dxf::Tag& tag, TextContext&) {
        value = static_cast<T>(tag.isDouble() ? static_cast<std::int64_t>(tag.real) : tag.integer);
    }
    static void save(T value, TextContext&, dxf::Tag& tag) {
        tag = dxf::Tag::makeInteger(tag.code, static_cast<std::int64_t>(value));
    }
};
template <>
struct Codec<std::wstring> {
    static void load(std::wstring& value, const dxf::Tag& tag, TextContext& context) {
        value = context.decode(tag.text);
    }
    static void save(const std::wstring& value, TextContext& context, dxf::Tag& tag) {
        tag = dxf::Tag::makeString(tag.code, context.encode(value));
    }
};
// Raw bytes in the drawing's encoding, kept as read (MTEXT chunks are split by bytes, not characters).
template <>
struct Codec<std::string> {
    static void load(std::string& value, const dxf::Tag& tag, TextContext&) { value.assign(tag.text); }
    static void save(const std::string& value, TextContext&, dxf::Tag& tag) {
        tag = dxf::Tag::makeString(tag.code, value);
    }
};
template <>
struct Codec<Name> {
    static void load(Name& value, const dxf::Tag& tag, TextContext& context) {
        value = context.name(tag.text);
    }
    static void save(Name value, TextContext& context, dxf::Tag& tag) {
        tag = dxf::Tag::makeString(tag.code, context.encodeName(value));
    }
};
template <>
struct Codec<AcDbHandle> {
    static void load(AcDbHandle& value, const dxf::Tag& tag, TextContext&) {
        AcDbHandle::parseHex(tag.text, value);
    }
    static void save(AcDbHandle value, TextContext& context, dxf::Tag& tag) {
        context.scratch() = value.toHex();
        tag = dxf::Tag::makeString(tag.code, context.scratch());
    }
};

} // namespace fields

// A single-valued field at the end of a member path.
template <auto... Path>
Field field(int code) {
    using Value = std::remove_cvref_t<decltype(fields::access<Path...>(std::declval<const AcDbObject&>()))>;
    Field result;
    result.code = static_cast<std::int16_t>(code);
    result.load = [](AcDbObject& object, std::size_t, const dxf::Tag& tag, TextContext& context) {
        fields::Codec<Value>::load(fields::access<Path...>(object), tag, context);
    };
    result.save = [](const AcDbObject& object, std::size_t, TextContext& context, dxf::Tag& tag) {
        fields::Codec<Value>::save(fields::access<Path...>(object), context, tag);
    };
    return result;
}

// The list behind a vector member: count and append for ClassTable::addList.
template <auto ListMember>
ListInfo listOf() {
    ListInfo info;
    info.count = [](const AcDbObject& object) { return fields::access<ListMember>(object).size(); };
    info.append = [](AcDbObject& object) { fields::access<ListMember>(object).emplace_back(); };
    info.reserve = [](AcDbObject& object, std::size_t count) {
        auto& list = fields::access<ListMember>(object);
        if constexpr (requires { list.reserve(count); }) {
            list.reserve(count);
        }
    };
    return info;
}

// A field of the elements of a vector member; `ElementPath` leads from an element to the value.
template <auto ListMember, auto... ElementPath>
Field listField(int code, int list, bool startsElement = false) {
    using Element = typename std::remove_cvref_t<decltype(fields::access<ListMember>(
        std::declval<const AcDbObject&>()))>::value_type;
    using Value =
        std::remove_cvref_t<decltype(fields::Follow<ElementPath...>::apply(std::declval<Element&>()))>;
    Field result;
    result.code = static_cast<std::int16_t>(code);
    result.list = static_cast<std::int8_t>(list);
    result.startsElement = startsElement;
    result.load = [](AcDbObject& object, std::size_t element, const dxf::Tag& tag, TextContext& context) {
        fields::Codec<Value>::load(
            fields::Follow<ElementPath...>::apply(fields::access<ListMember>(object)[element]), tag, context);
    };
    result.save = [](const AcDbObject& object, std::size_t element, TextContext& context, dxf::Tag& tag) {
        fields::Codec<Value>::save(
            fields::Follow<ElementPath...>::apply(fields::access<ListMember>(object)[element]), context, tag);
    };
    return result;
}

// A group holding the size of a list; read values are ignored, the real size is written.
inline Field countField(int code, int list) {
    Field result;
    result.code = static_cast<std::int16_t>(code);
    result.countOf = true;
    result.list = static_cast<std::int8_t>(list);
    return result;
}

// x, y (and z) of a point or vector member as codes code, code+10 (and code+20).
template <auto... Path>
void addPoint(ClassTable& table, int code) {
    using Value = std::remove_cvref_t<decltype(fields::access<Path...>(std::declval<const AcDbObject&>()))>;
    using Traits = fields::MemberTraits<decltype(&Value::x)>;
    using Point = typename Traits::Owner;
    table.add(field<Path..., &Point::x>(code));
    table.add(field<Path..., &Point::y>(code + 10));
    if constexpr (requires(Point point) { point.z; }) {
        table.add(field<Path..., &Point::z>(code + 20));
    }
}

} // namespace cad::db

namespace cad::db {
// An extrusion direction (210/220/230), left out of new objects while it is the Z axis.
template <auto... Path>
void addNormal(ClassTable& table, int code = 210) {
    using Value = std::remove_cvref_t<decltype(fields::access<Path...>(std::declval<const AcDbObject&>()))>;
    table.add(field<Path..., &Value::x>(code).byDefault(0.0));
    table.add(field<Path..., &Value::y>(code + 10).byDefault(0.0));
    table.add(field<Path..., &Value::z>(code + 20).byDefault(1.0));
}
} // namespace cad::db
