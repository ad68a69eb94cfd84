// The main dialog with the module's own pages over a corpus drawing, a line of it as the template: each
// tab rendered offscreen (QWidget::grab). The pictures differ from tab to tab; with
// QUELTO_SCREENSHOT_DIR set they are written there as qs_<index>.png (the README's pictures).
#include "quelto/ui/sel_ent_main.h"
#include "support/test_support.h"
#include "tests/ui/qs_drawing.h"

#include <QImage>
#include <QTabWidget>

namespace {

class MainDialogPictures : public testing::Test {
protected:
    qs_test::ScopedSettingsFolder m_settings;
};

TEST_F(MainDialogPictures, EachTabShowsItsOwnPage) {
    QUELTO_SKIP_WITHOUT_CORPUS();
    std::string error;
    ASSERT_NE(
        acDocManager->openDocument(quelto::testing::corpusFile("real/qcad_qcad/examples/flange.dxf"), error),
        nullptr)
        << error;
    ads_name lines;
    resbuf* filter = acutBuildList(RTDXF0, L"LINE", 8, L"0", RTNONE);
    const int found = acedSSGet(L"X", nullptr, nullptr, filter, lines);
    acutRelRb(filter);
    ASSERT_EQ(found, RTNORM);
    ads_name first;
    AcDbObjectId templateId;
    acedSSName(lines, 0, first);
    acdbGetObjectId(templateId, first);
    acedSSFree(lines);
    {
        CSelEntMain dialog(nullptr);
        dialog.SetTemplate(templateId, L"LINE");
        dialog.resize(560, 520);
        dialog.show();
        dialog.FinishLiveCount();
        const char* directory = std::getenv("QUELTO_SCREENSHOT_DIR");
        QImage previous;
        for (int index = 0; index < dialog.Tabs()->count(); ++index) {
            dialog.Tabs()->setCurrentIndex(index);
            const QImage picture = dialog.grab().toImage();
            ASSERT_FALSE(picture.isNull());
            EXPECT_NE(picture, previous) << "tab " << index;
            if (directory != nullptr) {
                picture.save(QString::fromUtf8(directory) + QStringLiteral("/qs_%1.png").arg(index));
            }
            previous = picture;
        }
        dialog.reject();
    }
    acDocManager->closeAll();
}

} // namespace
