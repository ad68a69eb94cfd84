// Fuzz target of the second stage: bytes decode into a quick-selection record (criteria on or off,
// operator texts valid or not, values, up to nine property rows with any ids and letters, any logic mode
// and expression, any type name) that runs over a small drawing with one entity of most kinds, in the
// whole drawing and in a given set, in the command's and the batch's variant. The run must end, and the
// rewritten set must hold exactly the ids handed back, in order.
#include "cad/app/host_api.h"
#include "cad/db/curve_entities.h"
#include "cad/db/other_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/text_entities.h"
#include "cad/ed/editor_state.h"
#include "platform/code_page.h"
#include "platform/message_box.h"
#include "quelto/filter/filter.h"
#include "quelto/matching/second_stage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

namespace {

// Reads the input front to back; an exhausted input reads zeros.
class ByteSource {
public:
    ByteSource(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t byte() { return m_position < m_size ? m_data[m_position++] : 0; }
    int integer() {
        std::uint32_t value = 0;
        for (int index = 0; index < 4; ++index) {
            value = value << 8 | byte();
        }
        return static_cast<int>(value);
    }
    template <std::size_t N>
    const wchar_t* pick(const std::array<const wchar_t*, N>& choices) {
        return choices[byte() % N];
    }
    // A text of up to 15 characters from the input, UTF-8.
    CString text() {
        const std::size_t length = std::min<std::size_t>(byte() % 16, m_size - std::min(m_position, m_size));
        const std::string_view bytes(reinterpret_cast<const char*>(m_data + m_position), length);
        m_position += length;
        return platform::utf8ToWide(bytes);
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

constexpr std::array<const wchar_t*, 24> kOperators = {
    L"=",      L"!=",       L"<",    L">",      L"<=",    L">=",    L"%2=",    L"&",
    L"&=",     L"||=",      L"包含", L"不包含", L"左边=", L"右边=", L"左边!=", L"右边!=",
    L"通配符", L"反通配符", L"特征", L"",       L"==",    L"LIKE",  L"=<",     L"包"};
constexpr std::array<const wchar_t*, 16> kValues = {L"0",    L"1",     L"-1",   L"90",  L"315", L"0.5",
                                                    L"abc",  L"*",     L"A*B",  L"是",  L"否",  L"纯数字",
                                                    L"实数", L"1e308", L"-0.0", L"中心"};
constexpr std::array<const wchar_t*, 28> kTypes = {
    L"LINE",        L"CIRCLE", L"ARC",       L"TEXT",         L"LWPOLYLINE", L"INSERT",   L"MTEXT",
    L"HATCH",       L"POINT",  L"ELLIPSE",   L"RAY",          L"XLINE",      L"POLYLINE", L"MLINE",
    L"SPLINE",      L"REGION", L"DIMENSION", L"IMAGE",        L"WIPEOUT",    L"SHAPE",    L"VIEWPORT",
    L"DIMENSION33", L"",       L"line",      L"CUSTOM_THING", L"*",          L"SOLID",    L"DIMENSION164"};
constexpr std::array<const wchar_t*, 10> kExpressions = {
    L"A&B", L"A|B", L"(A&B)|(C&D)", L"", L"A&H", L"((A)", L"A&B&C&D&E&F&G", L"A|", L"!A", L"A+B"};
constexpr std::array<int, 16> kPropertyIds = {101, 102, 103, 201, 202, 203, 204, 207,
                                              210, 213, 214, 301, 302, 401, 403, 1001};

struct Drawing {
    AcDbDatabase database;
    cad::ed::EditorState editor;
    platform::QueuedMessageBoxService boxes;

    Drawing() {
        editor.database = &database;
        cad::ed::setCurrentEditor(&editor);
        platform::setMessageBoxService(&boxes);
        const AcDbObjectId model = database.modelSpaceId();
        add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, -10, 0)), model);
        add(new AcDbLine(AcGePoint3d(1, 1, 0), AcGePoint3d(1, 1, 0)), model);
        add(new AcDbCircle(AcGePoint3d(5, 5, 0), AcGeVector3d(0, 0, 1), 2), model);
        add(new AcDbArc(AcGePoint3d(0, 0, 0), 3, 6.0, 0.2), model);
        auto* text = new AcDbText();
        text->setTextString(L"12.5墙");
        text->setHeight(2.5);
        add(text, model);
        auto* polyline = new AcDbPolyline();
        polyline->addVertexAt(0, AcGePoint2d(0, 0));
        polyline->addVertexAt(1, AcGePoint2d(4, 0), 0.5);
        add(polyline, model);
        add(new AcDbPolyline(), model);
        add(new AcDbPoint(AcGePoint3d(7, 7, 7)), model);
        add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 2, 0)), database.paperSpaceId());
    }
    void add(AcDbEntity* entity, AcDbObjectId space) {
        AcDbBlockTableRecord* record = nullptr;
        cad::db::openObjectAs(record, space, AcDb::kForWrite);
        AcDbObjectId id;
        record->appendAcDbEntity(id, entity);
        entity->close();
        record->close();
    }
};

Drawing& drawing() {
    static Drawing made;
    return made;
}

CFilter decodeRecord(ByteSource& source) {
    CFilter filter;
    const std::uint8_t flags = source.byte();
    filter.m_bSpace = flags & 1;
    filter.m_strSpaceOp = source.pick(kOperators);
    filter.m_strSpace = (flags & 2) ? CString(L"[*当前*]") : source.text();
    filter.m_bLineType = flags & 4;
    filter.m_strLineTypeOp = source.pick(kOperators);
    filter.m_strLineType = source.text();
    filter.m_bLtScale = flags & 8;
    filter.m_strLtScaleOp = source.pick(kOperators);
    filter.m_dLtScale = source.integer() / 1000.0;
    filter.m_bVisible = flags & 16;
    filter.m_nVisibility = source.byte() % 3;
    filter.m_bPlanar = flags & 32;
    filter.m_nPlanar = source.byte() % 3;
    filter.m_bWidth = flags & 64;
    filter.m_strWidthOp = source.pick(kOperators);
    filter.m_dWidth = source.integer() / 100.0;
    filter.m_bHeight = flags & 128;
    filter.m_strHeightOp = source.pick(kOperators);
    filter.m_dHeight = source.integer() / 100.0;
    const std::uint8_t more = source.byte();
    filter.m_bType = more & 1;
    filter.m_bLayer = more & 2;
    filter.m_strLayer = source.text();
    filter.m_bColor = more & 4;
    filter.m_strColorOp = source.pick(kOperators);
    filter.m_nColor = source.byte();
    const int rows = source.byte() % 10;
    for (int row = 0; row < rows; ++row) {
        const std::uint8_t kind = source.byte();
        filter.m_arrPropId.push_back(kind & 1 ? source.integer()
                                              : kPropertyIds[kind / 2 % kPropertyIds.size()]);
        filter.m_arrPropRow.push_back(kind & 2 ? source.integer() : row);
        filter.m_arrPropOp.push_back(source.pick(kOperators));
        filter.m_arrPropValue.push_back(kind & 4 ? source.text() : CString(source.pick(kValues)));
    }
    filter.m_bLogic = more & 8;
    filter.m_nLogicMode = static_cast<int>(source.byte() % 5) - 1;
    filter.m_strLogic = (more & 16) ? source.text() : CString(source.pick(kExpressions));
    return filter;
}

void requireSetMatchesIds(const quelto::matching::SecondStageResult& result) {
    std::int32_t length = 0;
    acedSSLength(result.set, &length);
    if (static_cast<std::size_t>(length) != result.ids.size()) {
        std::abort();
    }
    for (std::int32_t index = 0; index < length; ++index) {
        ads_name name;
        AcDbObjectId id;
        if (acedSSName(result.set, index, name) != RTNORM || acdbGetObjectId(id, name) != Acad::eOk ||
            id != result.ids[static_cast<std::size_t>(index)]) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::filesystem::path settings = std::filesystem::temp_directory_path() / "quelto_matching_fuzz";
    std::filesystem::create_directories(settings);
    ::setenv("QUELTO_REGISTRY_DIR", settings.c_str(), 1);
    drawing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Drawing& made = drawing();
    ByteSource source(data, size);
    const CFilter filter = decodeRecord(source);
    const CString dxfName = source.pick(kTypes);
    const bool batch = source.byte() & 1;
    quelto::matching::SecondStageResult whole;
    if (quelto::matching::runSecondStage(filter, dxfName, quelto::matching::CandidateScope::wholeDrawing(),
                                         batch, whole) == 1) {
        requireSetMatchesIds(whole);
        quelto::matching::SecondStageResult given;
        if (quelto::matching::runSecondStage(
                filter, dxfName, quelto::matching::CandidateScope::givenSet(whole.set), !batch, given) == 1) {
            requireSetMatchesIds(given);
            acedSSFree(given.set);
        }
        acedSSFree(whole.set);
    }
    made.boxes.clear();
    return 0;
}
