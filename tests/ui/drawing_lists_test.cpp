// The criteria pages' lists of a real drawing's tables - layers, linetypes with descriptions and dash
// lengths, layouts - compared in order with what ezdxf reads from the same corpus drawings.

#include "cad/gui/linetype_combo_box.h"
#include "quelto/ui/drawing_lists.h"
#include "quelto/ui/sel_ent_page1.h"
#include "quelto/ui/sel_ent_page2.h"
#include "support/command_output.h"
#include "tests/support/test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>

namespace {

std::optional<QJsonObject> ezdxfTables(const std::filesystem::path& drawing) {
    const std::optional<std::string> output =
        quelto::testing::commandOutput("/usr/bin/python3 '" + std::string(QUELTO_SOURCE_DIR) +
                                       "/tests/ui/ezdxf_tables.py' '" + drawing.string() + "' 2>/dev/null");
    if (!output) {
        return std::nullopt;
    }
    return QJsonDocument::fromJson(QByteArray::fromStdString(*output)).object();
}

CStringArray texts(const QJsonValue& array) {
    CStringArray result;
    for (const QJsonValue& text : array.toArray()) {
        result.push_back(text.toString().toStdWString());
    }
    return result;
}

// The list of the page's row captioned `caption`, the last control of its grid row.
template <class List>
List* rowList(QWidget* page, const QString& caption) {
    for (QCheckBox* check : page->findChildren<QCheckBox*>()) {
        if (check->text() == caption) {
            auto* grid = static_cast<QGridLayout*>(check->parentWidget()->layout());
            int row = 0, ignored = 0;
            grid->getItemPosition(grid->indexOf(check), &row, &ignored, &ignored, &ignored);
            return qobject_cast<List*>(grid->itemAtPosition(row, 2)->widget());
        }
    }
    return nullptr;
}

struct NoListener : CTypeChangeListener {
    void OnTypeChanged(const CString&) override {}
};

TEST(DrawingLists, PagesListTheTablesOfCorpusDrawingsInTheirOrder) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    for (const char* name :
         {"real/qcad_qcad/examples/flange.dxf", "real/LibreDWG_libredwg/test/test-data/example_2018.dxf",
          "generated/all_entities_R2010.dxf"}) {
        SCOPED_TRACE(name);
        const std::filesystem::path path = quelto::testing::corpusFile(name);
        const std::optional<QJsonObject> expected = ezdxfTables(path);
        if (!expected) {
            GTEST_SKIP() << "python3-ezdxf cannot read " << name;
        }
        AcDbDatabase database(false);
        cad::dxf::TagError error;
        ASSERT_TRUE(database.readDxf(path, error)) << error.toString();
        cad::ed::EditorState editor;
        editor.database = &database;
        cad::ed::setCurrentEditor(&editor);

        // The table's layers in order, then those its entities name without defining them.
        const CStringArray defined = texts((*expected)["layers"]);
        const CStringArray layers = DrawingLayerNames();
        ASSERT_GE(layers.size(), defined.size());
        EXPECT_EQ(CStringArray(layers.begin(), layers.begin() + static_cast<std::ptrdiff_t>(defined.size())),
                  defined);
        CStringArray implied(layers.begin() + static_cast<std::ptrdiff_t>(defined.size()), layers.end());
        std::ranges::sort(implied);
        EXPECT_EQ(implied, texts((*expected)["implied"]));
        const std::vector<CLinetypeEntry> linetypes = DrawingLinetypes();
        const QJsonArray expectedLinetypes = (*expected)["linetypes"].toArray();
        ASSERT_EQ(linetypes.size(), static_cast<std::size_t>(expectedLinetypes.size()));
        for (std::size_t index = 0; index < linetypes.size(); ++index) {
            const QJsonArray linetype = expectedLinetypes[static_cast<qsizetype>(index)].toArray();
            EXPECT_EQ(linetypes[index].name, linetype[0].toString().toStdWString());
            EXPECT_EQ(linetypes[index].comments, linetype[1].toString().toStdWString());
            std::vector<double> dashes;
            for (const QJsonValue& dash : linetype[2].toArray()) {
                dashes.push_back(dash.toDouble());
            }
            EXPECT_EQ(linetypes[index].dashes, dashes) << linetype[0].toString().toStdString();
        }
        const CStringArray layouts = texts((*expected)["layouts"]);
        EXPECT_EQ(DrawingLayoutNames(), layouts);

        CInfoMapList catalogue;
        NoListener listener;
        CQSelEntPage1 basic(catalogue, listener);
        auto* layerList = rowList<QComboBox>(&basic, QStringLiteral("对象图层："));
        ASSERT_NE(layerList, nullptr);
        ASSERT_EQ(layerList->count(), static_cast<int>(layers.size()));
        EXPECT_EQ(layerList->currentIndex(), 0);
        CQSelEntPage2 advanced(catalogue);
        auto* spaceList = rowList<QComboBox>(&advanced, QStringLiteral("对象空间："));
        ASSERT_NE(spaceList, nullptr);
        EXPECT_EQ(spaceList->count(), static_cast<int>(layouts.size()) + 2);
        auto* linetypeList = rowList<cad::gui::LinetypeComboBox>(&advanced, QStringLiteral("对象线型："));
        ASSERT_NE(linetypeList, nullptr);
        ASSERT_EQ(linetypeList->count(), static_cast<int>(linetypes.size()));
        for (int item = 0; item < linetypeList->count(); ++item) {
            const CString tableName = linetypes[static_cast<std::size_t>(item)].name;
            const bool continuous =
                QString::fromStdWString(tableName).toUpper() == QStringLiteral("CONTINUOUS");
            EXPECT_EQ(linetypeList->descriptionAt(item),
                      continuous
                          ? QStringLiteral("________________________")
                          : QString::fromStdWString(linetypes[static_cast<std::size_t>(item)].comments));
            if (tableName == L"ByLayer") {
                EXPECT_EQ(linetypeList->itemText(item), QStringLiteral("随层"));
            }
        }
        cad::ed::setCurrentEditor(nullptr);
    }
}

} // namespace
