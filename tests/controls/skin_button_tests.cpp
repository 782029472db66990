#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include "controls/skin_button.h"
#include "wait_for.h"

namespace {

const QColor kNormal(20, 20, 20);
const QColor kHover(90, 90, 90);
const QColor kPressed(0, 0, 200);

QPixmap Solid(QColor colour, QSize size = {26, 25}) {
    QPixmap picture(size);
    picture.fill(colour);
    return picture;
}

class SkinButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_parent.resize(200, 100);
        m_pButton = new CSkinButton(&m_parent);
        m_pButton->move(40, 30);
        ASSERT_TRUE(m_pButton->SetSkin(Solid(kPressed), Solid(kHover), Solid(kNormal),
                                       QStringLiteral("Stop")));
        m_parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_parent));
        QCursor::setPos(m_parent.mapToGlobal(QPoint(190, 90)));
    }

    QColor Shown() const { return m_pButton->grab().toImage().pixelColor(5, 5); }

    QWidget m_parent;
    CSkinButton* m_pButton = nullptr;
};

TEST_F(SkinButtonTest, SkinSizesTheButtonAndKeepsItsPlace) {
    EXPECT_EQ(m_pButton->geometry(), QRect(40, 30, 26, 25));
    EXPECT_EQ(m_pButton->toolTip(), QStringLiteral("Stop"));
    ASSERT_TRUE(m_pButton->SetSkin(Solid(kPressed, {38, 39}), Solid(kHover, {38, 39}),
                                   Solid(kNormal, {38, 39}), QStringLiteral("Play")));
    EXPECT_EQ(m_pButton->geometry(), QRect(40, 30, 38, 39));
    EXPECT_EQ(m_pButton->toolTip(), QStringLiteral("Play"));
}

TEST_F(SkinButtonTest, ClickEmitsClickedAndShowsPressedWhileDown) {
    QSignalSpy clicked(m_pButton, &CSkinButton::clicked);
    EXPECT_EQ(Shown(), kNormal);
    QTest::mousePress(m_pButton, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(Shown(), kPressed);
    EXPECT_EQ(clicked.count(), 0);
    QTest::mouseRelease(m_pButton, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_NE(Shown(), kPressed);
}

TEST_F(SkinButtonTest, TooltipComesAfterOneTickAndGoesWhenAMenuOpens) {
    QCursor::setPos(m_pButton->mapToGlobal(QPoint(5, 5)));
    QTest::mouseMove(m_pButton, QPoint(5, 5));
    ASSERT_TRUE(WaitFor([&] { return QToolTip::isVisible(); }, 1000));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Stop"));

    // A menu opened from the button (or anywhere) is not covered by its tooltip.
    QMenu menu;
    menu.addAction(QStringLiteral("Item"));
    menu.popup(m_parent.mapToGlobal(QPoint(100, 60)));
    EXPECT_TRUE(WaitFor([&] { return !QToolTip::isVisible(); }, 1000));
    SpinFor(300);
    EXPECT_FALSE(QToolTip::isVisible());
    menu.close();
}

TEST_F(SkinButtonTest, HoverLastsUntilTheTickAfterTheCursorLeaves) {
    QCursor::setPos(m_pButton->mapToGlobal(QPoint(5, 5)));
    QTest::mouseMove(m_pButton, QPoint(5, 5));
    EXPECT_TRUE(m_pButton->IsHover());
    EXPECT_EQ(Shown(), kHover);

    SpinFor(250);  // the cursor stays: the look stays
    EXPECT_TRUE(m_pButton->IsHover());

    QCursor::setPos(m_parent.mapToGlobal(QPoint(190, 90)));
    EXPECT_TRUE(m_pButton->IsHover()) << "cleared by the timer, not at once";
    EXPECT_TRUE(WaitFor([&] { return !m_pButton->IsHover(); }, 1000));
    EXPECT_EQ(Shown(), kNormal);
}

TEST_F(SkinButtonTest, PressingClearsTheHoverLook) {
    QCursor::setPos(m_pButton->mapToGlobal(QPoint(5, 5)));
    QTest::mouseMove(m_pButton, QPoint(5, 5));
    QTest::mousePress(m_pButton, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(m_pButton->IsHover());
    QTest::mouseRelease(m_pButton, Qt::LeftButton, {}, QPoint(5, 5));
}

TEST_F(SkinButtonTest, CheckedButtonKeepsPressedLook) {
    m_pButton->setCheckable(true);
    QSignalSpy clicked(m_pButton, &CSkinButton::clicked);
    QTest::mouseClick(m_pButton, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(m_pButton->isChecked());
    EXPECT_EQ(Shown(), kPressed);
    m_pButton->setChecked(false);
    EXPECT_EQ(Shown(), kNormal);
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(SkinButtonTest, DisabledButtonIgnoresClicksAndLooksFaded) {
    QSignalSpy clicked(m_pButton, &CSkinButton::clicked);
    m_pButton->setEnabled(false);
    QTest::mouseClick(m_pButton, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(m_pButton, QPoint(6, 6));
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_FALSE(m_pButton->IsHover());
    const QColor shown = Shown();
    EXPECT_NE(shown, kNormal);
    EXPECT_NE(shown, kHover);
    EXPECT_NE(shown, kPressed);
}

TEST_F(SkinButtonTest, MissingPictureKeepsThePreviousSkin) {
    EXPECT_FALSE(m_pButton->SetSkin(QStringLiteral("no_such_button"), QStringLiteral("x")));
    EXPECT_FALSE(m_pButton->SetSkin(98765, 98765, 98765, QStringLiteral("x")));
    EXPECT_EQ(m_pButton->toolTip(), QStringLiteral("Stop"));
    EXPECT_EQ(m_pButton->size(), QSize(26, 25));
    EXPECT_EQ(Shown(), kNormal);
}

TEST_F(SkinButtonTest, NamedSkinLoadsAllThreeLooks) {
    ASSERT_TRUE(m_pButton->SetSkin(QStringLiteral("play"), QStringLiteral("Play")));
    EXPECT_EQ(m_pButton->size(), QSize(38, 39));
    const QImage normal = m_pButton->grab().toImage();
    QTest::mousePress(m_pButton, Qt::LeftButton, {}, QPoint(19, 19));
    EXPECT_NE(m_pButton->grab().toImage(), normal);
    QTest::mouseRelease(m_pButton, Qt::LeftButton, {}, QPoint(19, 19));
}

}  // namespace
