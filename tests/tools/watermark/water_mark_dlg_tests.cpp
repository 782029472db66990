// The watermark window on its own, fed by a record source the test controls.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QTest>

#include "lang/language_parser.h"
#include "tools/watermark/water_mark_dlg.h"
#include "wait_for.h"

namespace {

class WaterMarkDlgTest : public testing::Test {
protected:
    WaterMarkDlgTest() : m_dlg(&m_owner, [this] { return m_record; }) {}
    void SetUp() override { CLanguageParser::LoadStringFile(LANGUAGE_ENGLISH); }

    QString Value(int nId) const { return m_dlg.GetValue(nId)->text(); }
    void SetRecord(uint32_t dwPacked, uint8_t byChannel) {
        WatermarkRecord record{};
        for (int i = 0; i < 4; ++i) record[i] = static_cast<uint8_t>(dwPacked >> (8 * i));
        record[16] = byChannel;
        m_record = record;
    }

    QWidget m_owner;
    std::optional<WatermarkRecord> m_record;
    CWaterMarkDlg m_dlg;
};

}  // namespace

TEST_F(WaterMarkDlgTest, RefreshesTenTimesASecondOnlyWithAnOwner) {
    EXPECT_TRUE(m_dlg.IsRefreshing());
    EXPECT_FALSE(m_dlg.isVisible());
    CWaterMarkDlg orphan(nullptr, [] { return std::optional<WatermarkRecord>(); });
    EXPECT_FALSE(orphan.IsRefreshing());

    SetRecord(5, 9);
    ASSERT_TRUE(WaitFor([&] { return Value(CWaterMarkDlg::CHANNEL_ID) == QStringLiteral("9"); }));
    EXPECT_EQ(Value(CWaterMarkDlg::TIME_ID), QStringLiteral("2000-00-00 00:00:05"));
}

TEST_F(WaterMarkDlgTest, KeepsTextsUntilANewWatermarkAndClearsOnRequest) {
    SetRecord(7, 4);
    m_dlg.Refresh();
    EXPECT_EQ(Value(CWaterMarkDlg::CHANNEL_ID), QStringLiteral("4"));
    SetRecord(0, 0);  // no watermark yet
    m_dlg.Refresh();
    m_record.reset();  // no pane
    m_dlg.Refresh();
    EXPECT_EQ(Value(CWaterMarkDlg::CHANNEL_ID), QStringLiteral("4"));
    m_dlg.Clear();
    for (int nId :
         {CWaterMarkDlg::MAC_ID, CWaterMarkDlg::SERIAL_ID, CWaterMarkDlg::CHANNEL_ID,
          CWaterMarkDlg::DEVICE_INFO_ID, CWaterMarkDlg::DEVICE_TYPE_ID, CWaterMarkDlg::TIME_ID}) {
        EXPECT_TRUE(Value(nId).isEmpty()) << nId;
    }
}

TEST_F(WaterMarkDlgTest, BlackWindowTitledInTheLanguageAndOnlyHiddenByClosing) {
    EXPECT_EQ(m_dlg.windowTitle(), QStringLiteral("Watermark"));
    CLanguageParser::LoadStringFile(LANGUAGE_CHINESE_SIMPLIFIED);
    m_dlg.ReloadTexts();
    EXPECT_EQ(m_dlg.windowTitle(), QString::fromUtf8("水印"));
    CLanguageParser::LoadStringFile(LANGUAGE_ENGLISH);

    m_dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dlg));
    const QImage image = m_dlg.grab().toImage();
    EXPECT_EQ(image.pixelColor(1, image.height() - 2), QColor(Qt::black));
    EXPECT_EQ(m_dlg.GetValue(CWaterMarkDlg::MAC_ID)->palette().color(QPalette::WindowText),
              QColor(Qt::white));

    QPointer<CWaterMarkDlg> pGuard(&m_dlg);
    m_dlg.close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(pGuard.isNull());
    EXPECT_FALSE(m_dlg.isVisible());
    EXPECT_TRUE(m_dlg.IsRefreshing());
}
