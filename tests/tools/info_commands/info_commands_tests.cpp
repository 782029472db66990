// The main window's file information and watermark commands, on a started
// main window playing a watermarked recording.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include "mainwnd/command_ids.h"
#include "mainwnd/orlin_dlg.h"
#include "playback/dlg_show.h"
#include "playback/play_wnd.h"
#include "samplegen/samplegen.h"
#include "settings/settings_file.h"
#include "tools/fileinfo/file_info_dlg.h"
#include "tools/fileinfo/info_tab_page.h"
#include "tools/watermark/water_mark_dlg.h"
#include "wait_for.h"

namespace {

class InfoCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QFile::remove(SettingsFilePath());
        m_dlg.OnInitDialog({QStringLiteral("orlin")});
        m_dlg.show();
    }

    QString WriteRecording(const char* szName, bool bWatermark) {
        samplegen::SampleParams params;
        params.container = samplegen::Container::Recorder;
        params.width = 160;
        params.height = 120;
        params.frameCount = 250;  // ten seconds: long enough to watch it play
        params.audio = true;
        if (bWatermark) {
            samplegen::Watermark mark;
            mark.packedTime = samplegen::PackTime({2024, 5, 6, 7, 8, 9});
            mark.serial = 123456789;
            const uint8_t mac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
            std::copy(mac, mac + 6, mark.mac);
            mark.deviceType = 7;
            mark.deviceInfo = 200;
            mark.channel = 3;
            params.watermark = mark;
        }
        const QString strPath = m_dir.filePath(QString::fromUtf8(szName));
        std::string error;
        EXPECT_TRUE(samplegen::WriteSample(strPath.toStdString(), params, &error)) << error;
        return strPath;
    }
    bool PlayInPane(const QString& strPath) {
        return m_dlg.OpenInPane(strPath) && WaitFor([&] {
                   const CPlayWnd* pSel = m_dlg.GetDlgShow()->GetSelPlayWnd();
                   return pSel != nullptr && pSel->GetPlayState() == PLAY_STATE_PLAYING;
               });
    }
    QString Value(int nId) const { return m_dlg.GetWaterMarkDlg()->GetValue(nId)->text(); }
    bool AllValuesEmpty() const {
        for (int nId : kValueIds) {
            if (!Value(nId).isEmpty()) return false;
        }
        return true;
    }

    // Runs a command that may open a modal window; the window found is handed
    // to `inspect` and closed.
    bool RunModalCommand(int nId, const std::function<void(QWidget*)>& inspect) {
        bool bOpened = false;
        QTimer::singleShot(200, [&] {
            if (QWidget* pModal = QApplication::activeModalWidget()) {
                bOpened = true;
                inspect(pModal);
                pModal->close();
            }
        });
        m_dlg.OnCommand(nId);
        SpinFor(300);
        return bOpened;
    }

    static constexpr int kValueIds[] = {
        CWaterMarkDlg::MAC_ID,         CWaterMarkDlg::SERIAL_ID,      CWaterMarkDlg::CHANNEL_ID,
        CWaterMarkDlg::DEVICE_INFO_ID, CWaterMarkDlg::DEVICE_TYPE_ID, CWaterMarkDlg::TIME_ID};
    QTemporaryDir m_dir;
    COrlinDlg m_dlg;
};

}  // namespace

TEST_F(InfoCommandsTest, WatermarkWindowFillsWhilePlayingAndClearsOnStop) {
    CWaterMarkDlg* pWaterMark = m_dlg.GetWaterMarkDlg();
    ASSERT_NE(pWaterMark, nullptr);
    EXPECT_FALSE(pWaterMark->isVisible());
    m_dlg.OnCommand(ID_WATERMARK);
    EXPECT_TRUE(pWaterMark->isVisible());
    const CDlgShow* pPanes = m_dlg.GetDlgShow();
    EXPECT_EQ(pWaterMark->frameGeometry().bottomLeft(),
              pPanes->mapToGlobal(pPanes->rect().bottomLeft()));

    ASSERT_TRUE(PlayInPane(WriteRecording("watermarked.imx", true)));
    ASSERT_TRUE(WaitFor([&] { return !Value(CWaterMarkDlg::TIME_ID).isEmpty(); }));
    EXPECT_EQ(Value(CWaterMarkDlg::TIME_ID), QStringLiteral("2024-05-06 07:08:09"));
    EXPECT_EQ(Value(CWaterMarkDlg::SERIAL_ID), QStringLiteral("123456789"));
    EXPECT_EQ(Value(CWaterMarkDlg::MAC_ID), QStringLiteral("00:1a:2b:3c:4d:5e"));
    EXPECT_EQ(Value(CWaterMarkDlg::DEVICE_TYPE_ID), QStringLiteral("7"));
    EXPECT_EQ(Value(CWaterMarkDlg::DEVICE_INFO_ID), QStringLiteral("200"));
    EXPECT_EQ(Value(CWaterMarkDlg::CHANNEL_ID), QStringLiteral("3"));

    m_dlg.OnCommand(ID_STOP);
    EXPECT_TRUE(AllValuesEmpty());
    SpinFor(3 * CWaterMarkDlg::REFRESH_MS);
    EXPECT_TRUE(AllValuesEmpty());  // the next refreshes do not bring the stopped file's back

    // A file without watermarks does not show the last file's.
    ASSERT_TRUE(PlayInPane(WriteRecording("plain.imx", false)));
    SpinFor(5 * CWaterMarkDlg::REFRESH_MS);
    EXPECT_TRUE(AllValuesEmpty());

    m_dlg.OnCommand(ID_LANG_CHINESE);
    EXPECT_EQ(pWaterMark->windowTitle(), QString::fromUtf8("水印"));
    m_dlg.OnCommand(ID_LANG_ENGLISH);
    EXPECT_EQ(pWaterMark->windowTitle(), QStringLiteral("Watermark"));
}

TEST_F(InfoCommandsTest, FileInformationOpensOnlyWithAFile) {
    EXPECT_FALSE(RunModalCommand(ID_FILE_INFO, [](QWidget*) {}));

    const QString strPath = WriteRecording("cam2.imx", false);
    ASSERT_TRUE(PlayInPane(strPath));
    QStringList basic, extra;
    QString strName;
    const bool bOpened = RunModalCommand(ID_FILE_INFO, [&](QWidget* pModal) {
        auto* pInfo = qobject_cast<CFileInfoDlg*>(pModal);
        ASSERT_NE(pInfo, nullptr);
        strName = pInfo->GetFileNameText();
        for (int i = 0; i < 5; ++i) basic << pInfo->GetPage(0)->GetValue(i)->text();
        for (int i = 0; i < 3; ++i) extra << pInfo->GetPage(1)->GetValue(i)->text();
    });
    ASSERT_TRUE(bOpened);
    EXPECT_EQ(strName, QStringLiteral("cam2.imx"));
    ASSERT_EQ(basic.size(), 5);
    EXPECT_EQ(basic[0], QStringLiteral("PS"));
    EXPECT_EQ(basic[2], QStringLiteral("00:00:10"));
    EXPECT_EQ(basic[3], QStringLiteral("160 * 120"));
    EXPECT_EQ(basic[4], strPath);
    EXPECT_EQ(extra, QStringList({"264", "25", "MPEG"}));
}
