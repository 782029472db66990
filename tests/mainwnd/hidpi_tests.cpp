// The player on a screen with two device pixels per widget pixel
// (QT_SCALE_FACTOR=2, set by the suite's main, orlin_test_main_2x, before Qt starts).
// Every skinned control must keep its size in widget pixels and draw from the
// double-size pictures: a control that falls back to a one-to-one picture, or
// draws through a one-to-one buffer, shows each of its pixels as a uniform
// 2 x 2 block of device pixels, which is what these tests look for.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDirIterator>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>

#include "controls/bitmap_slider.h"
#include "controls/skin_button.h"
#include "controls/skin_picture.h"
#include "controls/skin_scroll_bar.h"
#include "main_window_fixture.h"
#include "mainwnd/command_ids.h"
#include "mainwnd/control_ids.h"
#include "mainwnd/float_dlg.h"
#include "mainwnd/frame_geometry.h"
#include "playback/sync_locate_dlg.h"
#include "settings/player_set_dlg.h"
#include "tools/cut/file_cut_dlg.h"

namespace {

constexpr qreal kRatio = 2.0;

// Aligned 2 x 2 blocks of device pixels whose four pixels are not all alike.
int DetailedBlocks(const QImage& shot) {
    const QImage image = shot.convertToFormat(QImage::Format_ARGB32);
    int nBlocks = 0;
    for (int y = 0; y + 1 < image.height(); y += 2) {
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb a = image.pixel(x, y);
            if (image.pixel(x + 1, y) != a || image.pixel(x, y + 1) != a ||
                image.pixel(x + 1, y + 1) != a) {
                ++nBlocks;
            }
        }
    }
    return nBlocks;
}

// What the widget paints itself, without its children, at the screen's density.
QImage OwnPaint(QWidget* pWidget) {
    QPixmap pixmap((QSizeF(pWidget->size()) * kRatio).toSize());
    pixmap.setDevicePixelRatio(kRatio);
    pixmap.fill(Qt::transparent);
    pWidget->render(&pixmap, QPoint(), QRegion(), QWidget::RenderFlags());
    return pixmap.toImage();
}

QImage Crop(const QImage& image, const QRect& rect) {
    return image.copy(QRect(rect.topLeft() * kRatio, rect.size() * kRatio));
}

// Every visible control of `T` under `pTop` paints sharp.
template <typename T>
int ExpectSharpChildren(QWidget* pTop, const char* szKind) {
    int nChecked = 0;
    for (T* pControl : pTop->findChildren<T*>()) {
        if (!pControl->isVisible() || pControl->size().isEmpty()) continue;
        EXPECT_GT(DetailedBlocks(OwnPaint(pControl)), 0)
            << szKind << " " << pControl->objectName().toStdString() << " at " << pControl->x()
            << "," << pControl->y() << " paints one-to-one pixels";
        ++nChecked;
    }
    return nChecked;
}

class HiDpiWindow : public StartedMainWindow {
protected:
    void SetUp() override {
        StartedMainWindow::SetUp();
        ASSERT_EQ(m_dlg.devicePixelRatioF(), kRatio) << "QT_SCALE_FACTOR=2 did not take";
    }
    // The pictures that were asked for at double size but exist only at their own size.
    int FallBacks() {
        std::lock_guard lock(m_logMutex);
        return static_cast<int>(std::count_if(m_log.begin(), m_log.end(), [](const std::string& s) {
            return s.rfind("ResourcePicture no double-size picture", 0) == 0;
        }));
    }
};

}  // namespace

TEST(HiDpiPictures, EveryPictureHasADoubleSizeTwinThatLoadsAtItsOwnSize) {
    int nPictures = 0;
    for (const QString& strFolder : {QStringLiteral(":/skin"), QStringLiteral(":/bitmaps")}) {
        QDirIterator it(strFolder, {QStringLiteral("*.png")});
        while (it.hasNext()) {
            const QString strPath = it.next();
            if (strPath.endsWith(QLatin1String("@2x.png"))) continue;
            ++nPictures;
            const QImage plain(strPath);
            const QImage dense(strPath.chopped(4) + QStringLiteral("@2x.png"));
            ASSERT_FALSE(dense.isNull()) << strPath.toStdString() << " has no @2x picture";
            EXPECT_EQ(dense.size(), plain.size() * 2) << strPath.toStdString();

            const QPixmap loaded = ResourcePicture(strPath);
            EXPECT_EQ(loaded.devicePixelRatio(), kRatio) << strPath.toStdString();
            EXPECT_EQ(PictureSize(loaded), plain.size()) << strPath.toStdString();
        }
    }
    EXPECT_GT(nPictures, 100);
    // The named entry points choose the same way.
    EXPECT_EQ(SkinPicture(466).devicePixelRatio(), kRatio);
    EXPECT_EQ(SkinButtonSet(QStringLiteral("play")).hover.devicePixelRatio(), kRatio);
}

TEST(HiDpiPictures, PictureWithoutTwinIsStillShownAtItsOwnSize) {
    QTemporaryDir dir;
    QImage image(6, 4, QImage::Format_ARGB32);
    image.fill(Qt::red);
    const QString strPath = dir.filePath(QStringLiteral("alone.png"));
    ASSERT_TRUE(image.save(strPath));
    const QPixmap loaded = ResourcePicture(strPath);
    EXPECT_EQ(loaded.devicePixelRatio(), 1.0);
    EXPECT_EQ(PictureSize(loaded), QSize(6, 4));
    EXPECT_TRUE(ResourcePicture(dir.filePath(QStringLiteral("missing.png"))).isNull());
}

TEST(HiDpiControls, ControlsKeepTheirWidgetSizeAndShowTheDoubleSizePicture) {
    QWidget parent;
    parent.resize(300, 200);
    auto* pButton = new CSkinButton(&parent);
    ASSERT_TRUE(pButton->SetSkin(QStringLiteral("play"), QString()));
    EXPECT_EQ(pButton->size(), QSize(38, 39));
    EXPECT_EQ(pButton->sizeHint(), QSize(38, 39));
    // Drawn device pixel for device pixel: exactly the double-size picture.
    const QImage expected = QImage(QStringLiteral(":/skin/play_normal@2x.png"))
                                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage shot = OwnPaint(pButton).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_EQ(shot.size(), expected.size());
    EXPECT_TRUE(shot == expected) << "the button is not drawn from its @2x picture";

    auto* pSlider = new CBitmapSlider(1091, &parent);
    ASSERT_TRUE(pSlider->SetBitmapChannel(QStringLiteral("volume_channel"),
                                          QStringLiteral("volume_channel_active")));
    ASSERT_TRUE(pSlider->SetBitmapThumb(QStringLiteral("volume_thumb"),
                                        QStringLiteral("volume_thumb_active")));
    EXPECT_EQ(pSlider->size(), QSize(70, 8));
    pSlider->SetRange(0, 100);
    pSlider->SetPos(50);
    // The thumb's 8 widget pixels sit at the middle: its centre is light, and the
    // channel left of it is the accent colour, at widget positions.
    const QImage slider = OwnPaint(pSlider);
    EXPECT_GT(QColor(slider.pixel(35 * 2, 4 * 2)).lightness(), 150);
    const QColor played(slider.pixel(10 * 2, 4 * 2));
    EXPECT_GT(played.blue(), played.red() + 60);
    EXPECT_GT(DetailedBlocks(slider), 0);
    // Stretched wider than its picture, the channel is scaled in device pixels.
    pSlider->resize(140, 8);
    EXPECT_GT(DetailedBlocks(OwnPaint(pSlider)), 0);

    auto* pScroll = new CSkinScrollBar(Qt::Vertical, &parent);
    ASSERT_TRUE(pScroll->SetSkinBitmap(SkinPicture(QStringLiteral("sync_scrollbar"))));
    pScroll->resize(pScroll->width(), 100);
    EXPECT_EQ(pScroll->width(), 17) << "one cell of the skin, in widget pixels";
    pScroll->SetScrollInfo({0, 10, 1, 3, -1}, true);
    EXPECT_GT(DetailedBlocks(OwnPaint(pScroll)), 0);
}

TEST_F(HiDpiWindow, MainWindowRulerPanelsAndDialogsDrawFromDoubleSizePictures) {
    // The picture of the one idle pane at start.
    CRenderWnd* pIdle = Sel()->GetRenderWnd();
    ASSERT_EQ(pIdle->GetContent(), CRenderWnd::Content::IdleImage);
    EXPECT_GT(DetailedBlocks(OwnPaint(pIdle)), 0) << "idle pane picture";

    // Four panes, two cameras in step, the ruler under the control bar.
    m_dlg.OnCommand(ID_LAYOUT_4);
    m_dlg.GetButton(IDC_SYNC)->click();
    ASSERT_TRUE(m_dlg.PlaySync({Camera(0, samplegen::Container::Mp4, "cam1.mp4"),
                                Camera(2, samplegen::Container::Mp4, "cam2.mp4")}));
    ASSERT_TRUE(WaitFor([&] { return m_dlg.GetSyncRuler()->isVisible(); }));
    QCoreApplication::processEvents();

    EXPECT_EQ(m_dlg.GetButton(IDC_PLAY_PAUSE)->size(), QSize(38, 39));
    EXPECT_EQ(m_dlg.GetVolumeSlider()->height(), 8);
    EXPECT_GE(ExpectSharpChildren<CSkinButton>(&m_dlg, "button"), 15);
    EXPECT_GE(ExpectSharpChildren<CBitmapSlider>(&m_dlg, "slider"), 3);
    EXPECT_GE(ExpectSharpChildren<CSkinScrollBar>(&m_dlg, "scroll bar"), 1);

    // The ruler itself: scale, rows, bars and cursor, drawn off screen first.
    CSyncLocateDlg* pRuler = m_dlg.GetSyncRuler();
    EXPECT_GT(DetailedBlocks(OwnPaint(pRuler)), 0) << "the ruler is drawn one-to-one";

    // The frame: logo and each caption button.
    const QImage frame = OwnPaint(&m_dlg);
    EXPECT_GT(DetailedBlocks(Crop(frame, LogoRect())), 0) << "logo";
    const CaptionButtonRects caption = CaptionButtonsFor(m_dlg.width());
    for (const QRect& rect : {caption.menu, caption.minimize, caption.maximize, caption.close}) {
        EXPECT_GT(DetailedBlocks(Crop(frame, rect)), 0) << "caption button at " << rect.x();
    }
    // The floating panel's background.
    EXPECT_GT(DetailedBlocks(OwnPaint(m_dlg.GetFloatDlg())), 0) << "floating panel";
    // The settings dialog's colour sliders.
    CPlayerSetDlg settings(&m_dlg, CPlayerSetDlg::PAGE_COLOUR, &m_dlg);
    settings.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(ExpectSharpChildren<CBitmapSlider>(&settings, "colour slider"), 4);
    settings.reject();
    EXPECT_EQ(FallBacks(), 0);
}

TEST_F(HiDpiWindow, CutPanelDrawsFromDoubleSizePictures) {
    ASSERT_TRUE(m_dlg.OpenInPane(m_strSample));
    ASSERT_TRUE(WaitFor([this] { return Sel()->IsFileRefDone(); }));
    m_dlg.OnCommand(ID_CUT);
    CFileCutDlg* pPanel = m_dlg.GetCutPanel();
    ASSERT_NE(pPanel, nullptr);
    QCoreApplication::processEvents();
    EXPECT_GE(ExpectSharpChildren<CSkinButton>(pPanel, "cut panel button"), 5);
    for (int nMarker : {1145, 1146}) {
        auto* pLabel = qobject_cast<QLabel*>(pPanel->GetControl(nMarker));
        ASSERT_NE(pLabel, nullptr);
        EXPECT_GT(DetailedBlocks(OwnPaint(pLabel)), 0) << "marker " << nMarker;
    }
    EXPECT_EQ(FallBacks(), 0);
}

TEST_F(HiDpiWindow, VideoIsRenderedAtTheScreensDevicePixels) {
    OpenPaused();
    CRenderWnd* pRender = Sel()->GetRenderWnd();
    EXPECT_EQ(pRender->RenderRatio(), kRatio);
    const QSize device = pRender->size() * 2;
    ASSERT_TRUE(WaitFor([&] { return pRender->LastPicture().size() == device; }))
        << "the engine renders at " << pRender->LastPicture().width() << " x "
        << pRender->LastPicture().height() << " for " << pRender->width() << " x "
        << pRender->height() << " widget pixels";
    EXPECT_GE(FrameShown(), 0) << "the picture at device pixels still shows its frame number";
    // Shown device pixel for device pixel, not blown up from a smaller picture.
    EXPECT_GT(DetailedBlocks(OwnPaint(pRender)), 0);
}
