// Rendering checked where it matters to a drafter: entities land at the right pixels in their effective
// colours, hidden layers stay hidden, ByBlock takes the reference's colour, text fills the box of the
// text metric model, hatches fill their boundary, dash patterns leave gaps, and the grid index finds
// exactly what a brute-force scan finds.

#include "cad/db/other_entities.h"
#include "cad/db/text_entities.h"
#include "cad/gui/hatch_outline.h"
#include "cad/gui/scene_renderer.h"
#include "drawing_builder.h"

#include <QImage>
#include <QPainter>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>

namespace {

using gui_test::append;

// 200 x 100 pixels over x 0..20, y -5..5: ten pixels per drawing unit, y = 0 on row 50.
class RenderedScene : public testing::Test {
protected:
    QImage render(bool paper = true) {
        QImage image(QSize(200, 100), QImage::Format_RGB32);
        std::map<std::int64_t, cad::gui::SpatialIndex> indexes;
        cad::gui::SceneRenderer renderer(m_database,
                                         [&](AcDbObjectId space) -> const cad::gui::SpatialIndex& {
                                             auto& index = indexes[space.asOldId()];
                                             index.build(m_database, space);
                                             return index;
                                         });
        cad::gui::ViewGeometry view;
        view.centerX = 10.0;
        view.centerY = 0.0;
        view.unitsPerPixel = 0.1;
        cad::gui::SceneOptions options;
        options.paper = paper;
        QPainter painter(&image);
        renderer.render(painter, m_database.modelSpaceId(), view, image.size(), options);
        return image;
    }
    static QColor at(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

    AcDbDatabase m_database;
};

TEST_F(RenderedScene, LinesShowInTheirEffectiveColourAndHiddenLayersStayHidden) {
    gui_test::addLayer(m_database, L"RED", 1, false, false);
    gui_test::addLayer(m_database, L"OFF", 3, true, false);
    gui_test::addLayer(m_database, L"FROZEN", 3, false, true);
    struct Row {
        const wchar_t* layer;
        int color; // 256 ByLayer
        std::int32_t trueColor;
        QColor expected;
    };
    const Row rows[] = {
        {L"RED", 256, -1, QColor(255, 0, 0)},        // ByLayer
        {L"RED", 5, -1, QColor(0, 0, 255)},          // index colour over the layer's
        {L"RED", 256, 0x102030, QColor(16, 32, 48)}, // true colour wins
        {L"0", 7, -1, QColor(0, 0, 0)},              // colour 7 is black on paper
        {L"OFF", 256, -1, QColor(Qt::white)},        // layer off: nothing drawn
        {L"FROZEN", 256, -1, QColor(Qt::white)},     // layer frozen: nothing drawn
    };
    double y = -4.0;
    for (const Row& row : rows) {
        auto* entity = new AcDbLine(AcGePoint3d(2, y, 0), AcGePoint3d(18, y, 0));
        entity->setLayer(row.layer);
        entity->setColorIndex(static_cast<Adesk::UInt16>(row.color));
        if (row.trueColor >= 0) {
            entity->setTrueColor(row.trueColor);
        }
        append(m_database, entity);
        y += 1.5;
    }
    const QImage image = render();
    y = -4.0;
    for (const Row& row : rows) {
        const int pixelRow = static_cast<int>(50 - y * 10);
        EXPECT_EQ(at(image, 100, pixelRow), row.expected) << testing::PrintToString(std::wstring(row.layer));
        EXPECT_EQ(at(image, 100, pixelRow - 5), QColor(Qt::white));
        y += 1.5;
    }
    // Colour 7 is white on the dark model background.
    EXPECT_EQ(render(false).pixelColor(100, static_cast<int>(50 - 0.5 * 10)), QColor(255, 255, 255));
}

TEST_F(RenderedScene, BlockContentsFollowTheReferenceTransformAndByBlockColour) {
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(cad::db::openObjectAs(table, m_database.blockTableId(), AcDb::kForWrite), Acad::eOk);
    auto* block = new AcDbBlockTableRecord();
    block->setName(L"MARK");
    AcDbObjectId blockId;
    ASSERT_EQ(table->add(blockId, block), Acad::eOk);
    block->close();
    table->close();
    auto* inside = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    inside->setColorIndex(AcDbEntity::kColorByBlock);
    append(m_database, inside, blockId);
    // Scaled by 4 and turned a quarter: the unit line becomes (10,-2)..(10,2).
    auto* reference = new AcDbBlockReference(AcGePoint3d(10, -2, 0), blockId);
    reference->setScaleFactors(AcGeScale3d(4, 4, 4));
    reference->setRotation(1.5707963267948966);
    reference->setColorIndex(3);
    append(m_database, reference);
    const QImage image = render();
    EXPECT_EQ(at(image, 100, 50), QColor(0, 255, 0));
    EXPECT_EQ(at(image, 100, 35), QColor(0, 255, 0));
    EXPECT_EQ(at(image, 120, 50), QColor(Qt::white));
}

TEST_F(RenderedScene, TextFillsTheBoxOfTheTextMetricModel) {
    auto* text = new AcDbText();
    text->setPosition(AcGePoint3d(2, -1, 0));
    text->setHeight(3.0);
    text->setTextString(L"平面HH");
    append(m_database, text);
    // Two full-width characters (3 units each) and two narrow ones (2 units each): x 2..12, y -1..2.
    const QImage image = render();
    int inside = 0;
    int outside = 0;
    for (int x = 0; x < 200; ++x) {
        for (int row = 0; row < 100; ++row) {
            if (at(image, x, row) == QColor(Qt::white)) {
                continue;
            }
            const bool inBox = x >= 19 && x <= 121 && row >= 29 && row <= 61;
            (inBox ? inside : outside) += 1;
        }
    }
    EXPECT_GT(inside, 150);
    EXPECT_EQ(outside, 0);
}

TEST_F(RenderedScene, DimensionsWithoutABlockDrawArrowheadsAtTheEndsOfTheirLine) {
    // A red rotated dimension whose block *D99 is missing: extension lines from y -3 up to the
    // dimension line at y = 2 between x 4 and 16, arrowheads 2 units long (its DIMASZ override).
    const std::string drawing =
        "0\nSECTION\n2\nENTITIES\n0\nDIMENSION\n5\n30\n8\n0\n62\n1\n2\n*D99\n"
        "10\n16\n20\n2\n11\n10\n21\n4\n70\n32\n1\n<>\n13\n4\n23\n-3\n14\n16\n24\n-3\n"
        "50\n0\n42\n12\n1001\nACAD\n1000\nDSTYLE\n1002\n{\n1070\n41\n1040\n2\n1002\n}\n"
        "0\nENDSEC\n0\nEOF\n";
    cad::dxf::TagError error;
    ASSERT_TRUE(m_database.readDxfBuffer(drawing, error)) << error.toString();
    const QImage image = render();
    const QColor red(255, 0, 0);
    // The line on row 30 from x 40 to 160, extension lines down to row 80.
    EXPECT_EQ(at(image, 100, 30), red);
    EXPECT_EQ(at(image, 40, 70), red);
    EXPECT_EQ(at(image, 160, 70), red);
    // Near each arrowhead's base the head is five pixels wide; along the middle of the line only the
    // line's own pixel is drawn.
    for (const int x : {56, 144}) {
        EXPECT_EQ(at(image, x, 28), red) << x;
        EXPECT_EQ(at(image, x, 32), red) << x;
    }
    EXPECT_EQ(at(image, 100, 28), QColor(Qt::white));
    EXPECT_EQ(at(image, 100, 32), QColor(Qt::white));
    // Tips on the extension lines: nothing of a head beyond them.
    EXPECT_EQ(at(image, 36, 28), QColor(Qt::white));
    EXPECT_EQ(at(image, 164, 28), QColor(Qt::white));
}

TEST_F(RenderedScene, PolyfaceMeshesShowTheirVisibleFaceEdges) {
    // Two red squares x 2..8 and 8..14, y -4..2, sharing the edge x = 8; the second face hides the edge
    // from vertex 6 (14,2) to vertex 3 (8,2).
    std::string drawing = "0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n5\n30\n8\n0\n62\n1\n66\n1\n"
                          "10\n0\n20\n0\n30\n0\n70\n64\n71\n6\n72\n2\n";
    int handle = 0x31;
    const auto vertex = [&](const std::string& groups) {
        char code[16];
        std::snprintf(code, sizeof code, "%X", handle++);
        drawing += "0\nVERTEX\n5\n" + std::string(code) + "\n8\n0\n" + groups;
    };
    for (const char* corner : {"2\n20\n-4", "8\n20\n-4", "8\n20\n2", "2\n20\n2", "14\n20\n-4", "14\n20\n2"}) {
        vertex("10\n" + std::string(corner) + "\n30\n0\n70\n192\n");
    }
    vertex("10\n0\n20\n0\n30\n0\n70\n128\n71\n1\n72\n2\n73\n3\n74\n4\n");
    vertex("10\n0\n20\n0\n30\n0\n70\n128\n71\n2\n72\n5\n73\n-6\n74\n3\n");
    drawing += "0\nSEQEND\n5\n40\n8\n0\n0\nENDSEC\n0\nEOF\n";
    cad::dxf::TagError error;
    ASSERT_TRUE(m_database.readDxfBuffer(drawing, error)) << error.toString();
    const QImage image = render();
    const QColor red(255, 0, 0);
    // Pixel x = 10 x, row = 50 - 10 y.
    EXPECT_EQ(at(image, 20, 60), red) << "left edge";
    EXPECT_EQ(at(image, 80, 60), red) << "shared edge";
    EXPECT_EQ(at(image, 140, 60), red) << "right edge";
    EXPECT_EQ(at(image, 110, 90), red) << "bottom of the second face";
    EXPECT_EQ(at(image, 50, 30), red) << "top of the first face";
    EXPECT_EQ(at(image, 110, 30), QColor(Qt::white)) << "the hidden edge";
    EXPECT_EQ(at(image, 50, 45), QColor(Qt::white)) << "no line from vertex 4 on to vertex 5";
}

TEST_F(RenderedScene, ArrayReferencesRepeatTheirBlockAtTheColumnAndRowSpacing) {
    // Block TICK holds a red line from (0,0) to (2,0); the reference at (3,-3) has 2 columns 8 apart
    // and 2 rows 5 apart (written by ezdxf).
    cad::dxf::TagError error;
    ASSERT_TRUE(m_database.readDxf(QUELTO_SOURCE_DIR "/tests/data/gui/minsert_grid.dxf", error))
        << error.toString();
    const QImage image = render();
    // Pixel x = 10 x, row = 50 - 10 y: lines at x 3..5 and 11..13 on y -3 and 2.
    for (const QPoint& copy : {QPoint(40, 80), QPoint(120, 80), QPoint(40, 30), QPoint(120, 30)}) {
        EXPECT_EQ(at(image, copy.x(), copy.y()), QColor(255, 0, 0)) << copy.x() << "," << copy.y();
    }
    EXPECT_EQ(at(image, 80, 80), QColor(Qt::white)) << "between the columns";
    EXPECT_EQ(at(image, 40, 55), QColor(Qt::white)) << "between the rows";
}

TEST_F(RenderedScene, PolygonMeshesShowTheirRowsAndColumns) {
    // A red 2 x 3 mesh: rows at y -4 and 2, columns at x 2, 8 and 14.
    std::string drawing = "0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n5\n30\n8\n0\n62\n1\n66\n1\n"
                          "10\n0\n20\n0\n30\n0\n70\n16\n71\n2\n72\n3\n";
    int handle = 0x31;
    for (const char* corner : {"2\n20\n-4", "8\n20\n-4", "14\n20\n-4", "2\n20\n2", "8\n20\n2", "14\n20\n2"}) {
        char code[16];
        std::snprintf(code, sizeof code, "%X", handle++);
        drawing += "0\nVERTEX\n5\n" + std::string(code) + "\n8\n0\n10\n" + corner + "\n30\n0\n70\n64\n";
    }
    drawing += "0\nSEQEND\n5\n40\n8\n0\n0\nENDSEC\n0\nEOF\n";
    cad::dxf::TagError error;
    ASSERT_TRUE(m_database.readDxfBuffer(drawing, error)) << error.toString();
    const QImage image = render();
    const QColor red(255, 0, 0);
    for (const int x : {20, 80, 140}) {
        EXPECT_EQ(at(image, x, 60), red) << "column at pixel " << x;
    }
    EXPECT_EQ(at(image, 110, 90), red) << "first row";
    EXPECT_EQ(at(image, 50, 30), red) << "second row";
    EXPECT_EQ(at(image, 50, 45), QColor(Qt::white)) << "no line from the end of a row to the next";
}

TEST_F(RenderedScene, DashedLinetypesLeaveGapsAndHatchesFillTheirBoundary) {
    // A red line on a 1-on, 1-off linetype along y = 0; a blue solid hatch over x 12..16, y -4..-1; a
    // green ANSI31 hatch over x 2..8, y 1..4.
    cad::dxf::TagError error;
    ASSERT_TRUE(m_database.readDxf(QUELTO_SOURCE_DIR "/tests/data/gui/dashes_and_hatches.dxf", error))
        << error.toString();
    const QImage image = render();
    int drawn = 0;
    int gaps = 0;
    for (int x = 25; x < 175; ++x) {
        (at(image, x, 50) == QColor(255, 0, 0) ? drawn : gaps) += 1;
    }
    EXPECT_GT(drawn, 60);
    EXPECT_GT(gaps, 60);
    EXPECT_EQ(at(image, 140, 75), QColor(0, 0, 255));
    EXPECT_EQ(at(image, 140, 95), QColor(Qt::white));
    int patternPixels = 0;
    for (int x = 21; x < 80; ++x) {
        for (int row = 11; row < 40; ++row) {
            patternPixels += at(image, x, row) == QColor(0, 255, 0) ? 1 : 0;
        }
    }
    // Pattern lines, not a fill: some of the area, far from all of it; nothing outside the boundary.
    EXPECT_GT(patternPixels, 40);
    EXPECT_LT(patternPixels, 59 * 29 / 2);
    EXPECT_EQ(at(image, 90, 25), QColor(Qt::white));
}

TEST(HatchOutline, ReadsPolylineAndClockwiseArcEdgeLoops) {
    using cad::dxf::OwnedTag;
    const auto tag = [](int code, double value) {
        OwnedTag result;
        result.code = code;
        result.type = cad::dxf::valueTypeOf(code);
        result.real = value;
        result.integer = static_cast<std::int64_t>(value);
        return result;
    };
    // Loop 1: a closed polyline square 0..2. Loop 2: edges - a line (5,0)-(7,0), then a clockwise half
    // circle of radius 1 about (6,0) from 0 to 180 degrees, which passes below the centre.
    const std::vector<OwnedTag> tags = {
        tag(91, 2), tag(92, 2),  tag(72, 0),   tag(73, 1), tag(93, 4), tag(10, 0),   tag(20, 0),  tag(10, 2),
        tag(20, 0), tag(10, 2),  tag(20, 2),   tag(10, 0), tag(20, 2), tag(97, 0),   tag(92, 1),  tag(93, 2),
        tag(72, 1), tag(10, 5),  tag(20, 0),   tag(11, 7), tag(21, 0), tag(72, 2),   tag(10, 6),  tag(20, 0),
        tag(40, 1), tag(50, 0),  tag(51, 180), tag(73, 0), tag(97, 0), tag(78, 1),   tag(53, 45), tag(43, 0),
        tag(44, 0), tag(45, -1), tag(46, 1),   tag(79, 2), tag(49, 1), tag(49, -0.5)};
    const cad::gui::HatchOutline outline = cad::gui::readHatchOutline(tags, 0.01);
    ASSERT_EQ(outline.loops.size(), 2U);
    EXPECT_EQ(outline.loops[0].boundingRect(), QRectF(0, 0, 2, 2));
    const QRectF arcLoop = outline.loops[1].boundingRect();
    EXPECT_NEAR(arcLoop.top(), -1.0, 1e-3);
    EXPECT_NEAR(arcLoop.bottom(), 0.0, 1e-9);
    EXPECT_NEAR(arcLoop.left(), 5.0, 1e-9);
    EXPECT_NEAR(arcLoop.right(), 7.0, 1e-9);
    ASSERT_EQ(outline.patternLines.size(), 1U);
    EXPECT_NEAR(outline.patternLines[0].angle, 0.7853981633974483, 1e-12);
    EXPECT_EQ(outline.patternLines[0].offset, QPointF(-1, 1));
    EXPECT_EQ(outline.patternLines[0].dashes, (std::vector<double>{1.0, -0.5}));
}

TEST(SpatialIndex, QueriesFindWhatAScanFindsInDrawingOrder) {
    AcDbDatabase database;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> position(0.0, 1000.0);
    std::uniform_real_distribution<double> length(0.0, 5.0);
    for (int index = 0; index < 3000; ++index) {
        const double x = position(random);
        const double y = position(random);
        gui_test::line(database, x, y, x + length(random), y + length(random));
    }
    gui_test::line(database, -10, -10, 1100, 1100); // spans the whole grid
    cad::gui::SpatialIndex index;
    index.build(database, database.modelSpaceId());
    ASSERT_EQ(index.entries().size(), 3001U);
    const QRectF areas[] = {QRectF(100, 100, 50, 30), QRectF(0, 0, 1000, 1000), QRectF(-50, -50, 10, 10),
                            QRectF(990, 0, 100, 5), QRectF(500, 500, 0.001, 0.001)};
    for (const QRectF& area : areas) {
        std::vector<std::uint32_t> expected;
        for (std::uint32_t item = 0; item < index.entries().size(); ++item) {
            const auto& entry = index.entries()[item];
            if (entry.maximumX >= area.left() && entry.minimumX <= area.right() &&
                entry.maximumY >= area.top() && entry.minimumY <= area.bottom()) {
                expected.push_back(item);
            }
        }
        std::vector<std::uint32_t> found;
        index.query(area, found);
        EXPECT_EQ(found, expected) << area.x() << "," << area.y();
    }
}

} // namespace
