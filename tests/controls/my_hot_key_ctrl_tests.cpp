#include <gtest/gtest.h>

#include <QDialog>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "common/debug_log.h"
#include "controls/my_hot_key_ctrl.h"
#include "controls/virtual_key.h"

namespace {

class HotKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pField = new MyHotKeyCtrl(&m_dialog);
        (new QVBoxLayout(&m_dialog))->addWidget(m_pField);
        m_dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
        m_pField->setFocus();
        SetDebugLogSink([this](const std::string& line) { m_lines.push_back(line); });
    }
    void TearDown() override { SetDebugLogSink({}); }

    QDialog m_dialog;
    MyHotKeyCtrl* m_pField = nullptr;
    std::vector<std::string> m_lines;
};

TEST_F(HotKeyTest, EscapeBecomesTheHotKeyAndLeavesTheDialogOpen) {
    QTest::keyClick(m_pField, Qt::Key_Escape);
    EXPECT_TRUE(m_dialog.isVisible());
    EXPECT_EQ(m_dialog.result(), 0);
    EXPECT_EQ(m_pField->VirtualKey(), 27);
    EXPECT_EQ(m_pField->Modifiers(), 0);
    EXPECT_EQ(m_pField->text(), QStringLiteral("Esc"));
}

TEST_F(HotKeyTest, EnterAndSpaceAreTakenAloneEvenWithModifiers) {
    QTest::keyClick(m_pField, Qt::Key_Return);
    EXPECT_TRUE(m_dialog.isVisible());
    EXPECT_EQ(m_pField->VirtualKey(), 13);
    QTest::keyClick(m_pField, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(m_pField->VirtualKey(), 32);
    EXPECT_EQ(m_pField->Modifiers(), 0);
}

TEST_F(HotKeyTest, KeyWithModifiersBecomesTheHotKey) {
    QSignalSpy changed(m_pField, &MyHotKeyCtrl::hotKeyChanged);
    QTest::keyClick(m_pField, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(m_pField->VirtualKey(), 'A');
    EXPECT_EQ(m_pField->Modifiers(), HOTKEYF_CONTROL | HOTKEYF_SHIFT);
    EXPECT_EQ(m_pField->text(), QStringLiteral("Ctrl + Shift + A"));
    EXPECT_EQ(changed.count(), 1);

    QTest::keyClick(m_pField, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(m_pField->VirtualKey(), 37);
    EXPECT_EQ(m_pField->Modifiers(), HOTKEYF_ALT | HOTKEYF_EXT) << "arrows are extended keys";
}

TEST_F(HotKeyTest, EveryKeyPressIsLogged) {
    QTest::keyClick(m_pField, Qt::Key_F5);
    QTest::keyClick(m_pField, Qt::Key_Escape);
    ASSERT_EQ(m_lines.size(), 2u);
    EXPECT_EQ(m_lines[0].rfind("nChar=116, nRepCnt=1, nFlags=", 0), 0u) << m_lines[0];
    EXPECT_EQ(m_lines[1].rfind("nChar=27, nRepCnt=1, nFlags=", 0), 0u) << m_lines[1];
}

TEST(VirtualKey, QtKeysMapBothWays) {
    const std::pair<int, uint16_t> pairs[] = {
        {Qt::Key_A, 65},      {Qt::Key_Z, 90},    {Qt::Key_0, 48},     {Qt::Key_9, 57},
        {Qt::Key_F1, 112},    {Qt::Key_F12, 123}, {Qt::Key_Space, 32}, {Qt::Key_Escape, 27},
        {Qt::Key_Return, 13}, {Qt::Key_Left, 37}, {Qt::Key_Down, 40},  {Qt::Key_Delete, 46},
    };
    for (const auto& [nQt, wVirtual] : pairs) {
        EXPECT_EQ(VirtualKeyFromQtKey(nQt), wVirtual) << nQt;
        EXPECT_EQ(QtKeyFromVirtualKey(wVirtual), nQt) << wVirtual;
    }
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Enter), 13);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Shift), 0);
    EXPECT_EQ(QtKeyFromVirtualKey(0), 0);
    EXPECT_EQ(MyHotKeyCtrl::HotKeyText(0, HOTKEYF_ALT), QStringLiteral("None"));
}

}  // namespace
