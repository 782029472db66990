#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QTest>

#include "controls/bitmap_slider.h"
#include "controls/skin_picture.h"
#include "event_recorder.h"

namespace {

constexpr int kId = 1093;
const QColor kChannel(10, 20, 30);
const QColor kActive(200, 40, 40);
const QColor kThumb(0, 220, 0);

const QColor kKey(255, 0, 255);

QPixmap Solid(QSize size, QColor colour) {
    QPixmap picture(size);
    picture.fill(colour);
    return picture;
}

// A thumb without alpha: its corner colour is keyed out, so it is drawn as a
// disc-less square one pixel inside a key-coloured border.
QPixmap KeyedThumb() {
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(kKey);
    for (int y = 1; y < 9; ++y) {
        for (int x = 1; x < 9; ++x) image.setPixelColor(x, y, kThumb);
    }
    return QPixmap::fromImage(image);
}

using Note = EventRecorder::Note;

// A 110 x 10 slider with a 10 x 10 thumb and range 0..100: one pixel per step,
// position p drawn centred at x = p + 5.
class BitmapSliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_parent.resize(200, 50);
        m_pSlider = new CBitmapSlider(kId, &m_parent);
        ASSERT_TRUE(
            m_pSlider->SetBitmapChannel(Solid({110, 10}, kChannel), Solid({110, 10}, kActive)));
        ASSERT_TRUE(m_pSlider->SetBitmapThumb(KeyedThumb(), KeyedThumb()));
        m_pSlider->SetRange(0, 100);
        m_parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_parent));
        m_parent.Take();
    }

    QPoint At(int x) const { return QPoint(x, 5); }

    EventRecorder m_parent;
    CBitmapSlider* m_pSlider = nullptr;
};

TEST_F(BitmapSliderTest, ClickBesideThumbJumpsThereAndReleaseReports) {
    m_pSlider->SetPos(20);
    QTest::mousePress(m_pSlider, Qt::LeftButton, {}, At(65));
    EXPECT_EQ(m_pSlider->GetPos(), 60);
    EXPECT_TRUE(m_pSlider->IsDragging());
    EXPECT_EQ(m_parent.Take(), (std::vector<Note>{{ORLIN_MSG_SLIDER_MOVING, kId, 60}}));

    QTest::mouseRelease(m_pSlider, Qt::LeftButton, {}, At(65));
    EXPECT_FALSE(m_pSlider->IsDragging());
    EXPECT_EQ(m_parent.Take(), (std::vector<Note>{{ORLIN_MSG_SLIDER_RELEASED, kId, 60}}));
}

TEST_F(BitmapSliderTest, DragKeepsGripOffsetAndStopsAtTheEnds) {
    m_pSlider->SetPos(50);                                     // centre at 55
    QTest::mousePress(m_pSlider, Qt::LeftButton, {}, At(58));  // 3 right of centre
    EXPECT_EQ(m_pSlider->GetPos(), 50);
    EXPECT_TRUE(m_parent.Take().empty()) << "grabbing the thumb does not move it";

    QTest::mouseMove(m_pSlider, At(78));
    EXPECT_EQ(m_pSlider->GetPos(), 70);
    QTest::mouseMove(m_pSlider, At(300));  // far past the right end
    EXPECT_EQ(m_pSlider->GetPos(), 100);
    QTest::mouseMove(m_pSlider, At(-300));
    EXPECT_EQ(m_pSlider->GetPos(), 0);
    QTest::mouseRelease(m_pSlider, Qt::LeftButton, {}, At(-300));
    EXPECT_EQ(m_parent.Take(), (std::vector<Note>{{ORLIN_MSG_SLIDER_MOVING, kId, 70},
                                                  {ORLIN_MSG_SLIDER_MOVING, kId, 100},
                                                  {ORLIN_MSG_SLIDER_MOVING, kId, 0},
                                                  {ORLIN_MSG_SLIDER_RELEASED, kId, 0}}));
}

TEST_F(BitmapSliderTest, MovingWithoutButtonChangesNothing) {
    m_pSlider->SetPos(30);
    QTest::mouseMove(m_pSlider, At(90));
    EXPECT_EQ(m_pSlider->GetPos(), 30);
    EXPECT_TRUE(m_parent.Take().empty());
}

TEST_F(BitmapSliderTest, KeysStepClampAndReportEachTime) {
    m_pSlider->SetPageSize(20);
    m_pSlider->SetPos(10);
    m_pSlider->setFocus();
    const std::pair<Qt::Key, int> steps[] = {
        {Qt::Key_PageUp, 0}, {Qt::Key_PageDown, 20}, {Qt::Key_Right, 21}, {Qt::Key_Down, 22},
        {Qt::Key_Left, 21},  {Qt::Key_Up, 20},       {Qt::Key_End, 100},  {Qt::Key_PageDown, 100},
        {Qt::Key_Home, 0},   {Qt::Key_Left, 0},
    };
    for (const auto& [eKey, nExpected] : steps) {
        QTest::keyClick(m_pSlider, eKey);
        EXPECT_EQ(m_pSlider->GetPos(), nExpected) << "key " << eKey;
        EXPECT_EQ(m_parent.Take(),
                  (std::vector<Note>{{ORLIN_MSG_SLIDER_RELEASED, kId, nExpected}}));
    }
}

TEST_F(BitmapSliderTest, DisabledSliderIgnoresMouseAndKeysAndHidesThumb) {
    m_pSlider->SetPos(40);
    m_pSlider->Enable(false);
    QTest::mouseClick(m_pSlider, Qt::LeftButton, {}, At(90));
    QTest::keyClick(m_pSlider, Qt::Key_End);
    EXPECT_EQ(m_pSlider->GetPos(), 40);
    EXPECT_TRUE(m_parent.Take().empty());

    const QImage image = m_pSlider->grab().toImage();
    for (int x = 0; x < 110; x += 5) {
        ASSERT_EQ(image.pixelColor(x, 5), kChannel) << "x " << x;  // plain channel, no thumb
    }
    m_pSlider->Enable(true);
    QTest::mouseClick(m_pSlider, Qt::LeftButton, {}, At(90));
    EXPECT_EQ(m_pSlider->GetPos(), 85);
}

TEST_F(BitmapSliderTest, ActiveChannelLeftOfThumbAndChannelRightOfIt) {
    m_pSlider->SetPos(50);
    const QImage image = m_pSlider->grab().toImage();
    EXPECT_EQ(image.pixelColor(20, 5), kActive);
    EXPECT_EQ(image.pixelColor(55, 5), kThumb);
    EXPECT_EQ(image.pixelColor(90, 5), kChannel);
    EXPECT_EQ(image.pixelColor(59, 0), kChannel) << "the keyed border shows the channel";
    EXPECT_EQ(image.pixelColor(51, 0), kActive);
}

TEST_F(BitmapSliderTest, PositionFromCodeIsClampedAndSilent) {
    m_pSlider->SetPos(500);
    EXPECT_EQ(m_pSlider->GetPos(), 100);
    m_pSlider->SetRange(0, 40);
    EXPECT_EQ(m_pSlider->GetPos(), 40) << "narrowing the range carries the position along";
    m_pSlider->SetPos(-3);
    EXPECT_EQ(m_pSlider->GetPos(), 0);
    EXPECT_TRUE(m_parent.Take().empty());
}

TEST_F(BitmapSliderTest, EmptyRangeTakesInputWithoutFault) {
    m_pSlider->SetRange(0, 0);  // the progress slider while nothing can be sought
    QTest::mousePress(m_pSlider, Qt::LeftButton, {}, At(80));
    QTest::mouseMove(m_pSlider, At(30));
    QTest::mouseRelease(m_pSlider, Qt::LeftButton, {}, At(30));
    QTest::keyClick(m_pSlider, Qt::Key_End);
    EXPECT_EQ(m_pSlider->GetPos(), 0);
    for (const Note& note : m_parent.Take()) EXPECT_EQ(note.nPos, 0);
    EXPECT_FALSE(m_pSlider->grab().isNull());

    m_pSlider->SetRange(30, 10);  // inverted: narrowed to its minimum
    EXPECT_EQ(m_pSlider->GetRangeMin(), 30);
    EXPECT_EQ(m_pSlider->GetRangeMax(), 30);
    EXPECT_EQ(m_pSlider->GetPos(), 30);
}

TEST_F(BitmapSliderTest, MissingPicturesFailAndKeepTheSkin) {
    EXPECT_FALSE(m_pSlider->SetBitmapChannel(QStringLiteral("no_such_channel"),
                                             QStringLiteral("progress_channel_active")));
    EXPECT_FALSE(m_pSlider->SetBitmapThumb(98765, 98766));
    EXPECT_FALSE(m_pSlider->SetBitmapThumb(QPixmap(), QPixmap()));
    EXPECT_EQ(m_pSlider->size(), QSize(110, 10));
    m_pSlider->SetPos(50);
    EXPECT_EQ(m_pSlider->grab().toImage().pixelColor(55, 5), kThumb);
}

TEST(BitmapSliderSkin, ProgressSkinStretchesToTheLayoutWidth) {
    EventRecorder parent;
    parent.resize(1300, 40);
    CBitmapSlider slider(1093, &parent);
    ASSERT_TRUE(
        slider.SetChannelPieces(SkinPicture(QStringLiteral("progress_channel_left")),
                                SkinPicture(QStringLiteral("progress_channel_middle")),
                                SkinPicture(QStringLiteral("progress_channel_right")),
                                SkinPicture(QStringLiteral("progress_channel_active_piece"))));
    ASSERT_TRUE(slider.SetBitmapThumb(QStringLiteral("progress_thumb"),
                                      QStringLiteral("progress_thumb_active")));
    slider.setGeometry(18, 10, 1264, 10);
    slider.SetRange(0, 200);
    slider.SetPos(100);
    const QImage image = slider.grab().toImage();
    const QColor played = image.pixelColor(300, 5);
    const QColor ahead = image.pixelColor(1000, 5);
    EXPECT_GT(played.blue(), played.red() + 60) << "the played part is the accent colour";
    EXPECT_LT(ahead.lightness(), 60) << "the part ahead is the dark groove";
    EXPECT_GT(image.pixelColor(632, 5).lightness(), 150) << "the thumb sits at the middle";
    EXPECT_EQ(image.pixelColor(628, 0), image.pixelColor(700, 0))
        << "the thumb's corners let the background through";
}

}  // namespace
