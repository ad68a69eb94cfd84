// The desktop host's clipboard service against Qt's clipboard: text written through the service is what
// other programs paste, and what they copy is what the service reads.
#include "cad/gui/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

TEST(QtClipboard, CarriesTextBothWaysAndReportsAClipboardWithoutText) {
    cad::gui::QtClipboardService service;
    QClipboard* clipboard = QGuiApplication::clipboard();

    EXPECT_TRUE(service.writeText(L"钢筋 Φ12\r\n第二行"));
    EXPECT_EQ(clipboard->text(), QStringLiteral("钢筋 Φ12\r\n第二行"));

    clipboard->setText(QStringLiteral("KL1(2) 300×600"));
    std::wstring text;
    EXPECT_TRUE(service.readText(text));
    EXPECT_EQ(text, L"KL1(2) 300×600");

    auto* image = new QMimeData;
    image->setData(QStringLiteral("image/png"), QByteArray("\x89PNG", 4));
    clipboard->setMimeData(image);
    text = L"unchanged";
    EXPECT_FALSE(service.readText(text));
    EXPECT_EQ(text, L"unchanged");
}
