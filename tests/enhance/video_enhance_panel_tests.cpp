#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <vector>

#include "controls/bitmap_slider.h"
#include "enhance/enhance_messages.h"
#include "enhance/enhance_pages.h"
#include "enhance/video_enhance_dlg.h"
#include "enhance/video_enhance_owner.h"

namespace {

// Keeps a block the way a pane does and records every call.
class RecordingOwner : public QObject, public IVideoEnhanceOwner {
public:
    std::optional<VideoEnhanceParams> SelectedVieParams() const override { return block; }
    void SetSelectedVieModules(int32_t nModules, bool bEnable) override {
        modules.emplace_back(nModules, bEnable);
    }
    void SetSelectedVieParams(const VideoEnhanceParams& sent) override {
        block = sent;
        blocks.push_back(sent);
    }
    void RefreshEnhanceIndicators() override { ++indicatorRefreshes; }
    QObject* EnhanceCloseReceiver() override { return this; }
    bool event(QEvent* pEvent) override {
        if (pEvent->type() == ORLIN_MSG_ENHANCE_CLOSED) ++closeRequests;
        return QObject::event(pEvent);
    }

    std::optional<VideoEnhanceParams> block = DefaultVieParams();
    std::vector<std::pair<int32_t, bool>> modules;
    std::vector<VideoEnhanceParams> blocks;
    int indicatorRefreshes = 0;
    int closeRequests = 0;
};

class EnhancePanel : public testing::Test {
protected:
    void SetUp() override {
        panel.show();
        QCoreApplication::processEvents();
    }
    void Settle() { QCoreApplication::processEvents(); }
    QString Value(int nSliderId) {
        return static_cast<QLabel*>(panel.GetControl(nSliderId + CVideoEnhance::VALUE_LABEL_OFFSET))
            ->text();
    }
    void Click(QWidget* pWidget) {
        QTest::mouseClick(pWidget, Qt::LeftButton, {}, QPoint(8, pWidget->height() / 2));
        Settle();
    }
    void Keys(int nSliderId, Qt::Key key, int nTimes) {
        for (int i = 0; i < nTimes; ++i) QTest::keyClick(panel.GetSlider(nSliderId), key);
        Settle();
    }

    RecordingOwner owner;
    CVideoEnhance panel{&owner};
};

TEST(EnhanceBlock, NewPaneBlockHasEveryModuleOffAndTheTableDefaults) {
    const VideoEnhanceParams block = DefaultVieParams();
    const int32_t expected[VIE_FIELD_COUNT] = {0, 0, 0, 0, 25, 0, 0, 0, 220, 26, 0, 60, 80, 2, 5,
                                               50, 0, 0};
    for (int i = 0; i < VIE_FIELD_COUNT; ++i) EXPECT_EQ(GetVieField(block, i), expected[i]) << i;
    // The asymmetric ranges: Bright and Offset from -255, the other signed ones from -256.
    for (const VieParamInfo& param : VieParams()) {
        EXPECT_GE(param.nDefault, param.nMin);
        EXPECT_LE(param.nDefault, param.nMax);
    }
    EXPECT_EQ(VieParamOfField(VIE_FIELD_ADJ_BRIGHT)->nMin, -255);
    EXPECT_EQ(VieParamOfField(VIE_FIELD_EHAN_OFFSET)->nMin, -255);
    EXPECT_EQ(VieParamOfField(VIE_FIELD_ADJ_CONTRAST)->nMin, -256);
    EXPECT_EQ(VieParamOfField(VIE_FIELD_LENS_ZOOM)->nMin, -256);
    EXPECT_EQ(VieParamOfField(VIE_FIELD_SHARPEN_RADIUS)->nMin, 1);
    EXPECT_EQ(VieParamOfField(VIE_FIELD_DEBLOCK_LEVEL)->nMax, 100);
    EXPECT_EQ(VieParamOfField(VIE_FIELD_MODULES), nullptr);
}

TEST_F(EnhancePanel, DenoiseBoxSendsItsBitAndLevelAndUntickingKeepsTheLevel) {
    panel.ShowPage(3);
    // Slider from its default 60 to 100: each step is sent, the module stays off.
    Keys(1429, Qt::Key_Right, 40);
    EXPECT_EQ(Value(1429), QStringLiteral("100"));
    ASSERT_EQ(owner.blocks.size(), 40u);
    EXPECT_EQ(GetVieField(owner.blocks.back(), VIE_FIELD_DENOISE_LEVEL), 100);
    EXPECT_EQ(GetVieField(owner.blocks.back(), VIE_FIELD_MODULES), 0);
    EXPECT_TRUE(owner.modules.empty());

    Click(panel.GetEnableBox(1460));
    ASSERT_EQ(owner.modules.size(), 1u);
    EXPECT_EQ(owner.modules.back(), std::make_pair(int32_t{0x08}, true));
    EXPECT_EQ(GetVieField(owner.blocks.back(), VIE_FIELD_MODULES), 0x08);
    EXPECT_EQ(GetVieField(owner.blocks.back(), VIE_FIELD_DENOISE_LEVEL), 100);
    EXPECT_EQ(owner.indicatorRefreshes, 1);

    Click(panel.GetEnableBox(1460));
    EXPECT_EQ(owner.modules.back(), std::make_pair(int32_t{0x08}, false));
    EXPECT_EQ(GetVieField(owner.blocks.back(), VIE_FIELD_MODULES), 0);
    EXPECT_EQ(GetVieField(owner.blocks.back(), VIE_FIELD_DENOISE_LEVEL), 100);
    EXPECT_EQ(owner.indicatorRefreshes, 2);
}

TEST_F(EnhancePanel, SliderOfAModuleThatIsOffIsStoredAndSentWhenItIsSwitchedOn) {
    // Another module on already: switching dehaze keeps it.
    SetVieField(&*owner.block, VIE_FIELD_MODULES, VIE_SHARPEN);
    panel.LoadControls();
    EXPECT_EQ(panel.CurrentPage(), 1);  // dehaze, the first page shown
    Keys(1436, Qt::Key_Home, 1);
    EXPECT_EQ(GetVieField(*owner.block, VIE_FIELD_DEHAZE_LEVEL), 0);
    EXPECT_EQ(GetVieField(*owner.block, VIE_FIELD_MODULES), VIE_SHARPEN);
    Click(panel.GetEnableBox(1462));
    EXPECT_EQ(GetVieField(owner.blocks.back(), VIE_FIELD_MODULES), VIE_SHARPEN | VIE_DEHAZE);
    EXPECT_EQ(GetVieField(owner.blocks.back(), VIE_FIELD_DEHAZE_LEVEL), 0);
    EXPECT_EQ(GetVieField(owner.blocks.back(), VIE_FIELD_DEHAZE_TRANSMISSION), 26);
}

TEST_F(EnhancePanel, ResetSwitchesEveryModuleOffAndPutsEverySliderToItsDefault) {
    VideoEnhanceParams changed{};
    SetVieField(&changed, VIE_FIELD_MODULES, 0xFF);
    for (const VieParamInfo& param : VieParams()) SetVieField(&changed, param.nField, param.nMax);
    owner.block = changed;
    panel.LoadControls();
    EXPECT_TRUE(panel.GetEnableBox(1466)->isChecked());
    EXPECT_EQ(Value(1438), QStringLiteral("15"));

    Click(panel.GetControl(CVideoEnhance::IDC_RESET));
    ASSERT_EQ(owner.modules.size(), 1u);
    EXPECT_EQ(owner.modules.back(), std::make_pair(int32_t{0xFF}, false));
    EXPECT_EQ(owner.blocks.back(), DefaultVieParams());
    EXPECT_EQ(owner.indicatorRefreshes, 1);
    const std::pair<int, const char*> labels[] = {
        {1426, "0"},  {1427, "0"},  {1428, "0"}, {1430, "25"}, {1431, "0"},  {1432, "0"},
        {1433, "0"},  {1436, "220"}, {1434, "26"}, {1435, "0"}, {1429, "60"}, {1437, "80"},
        {1438, "2"},  {1439, "5"},  {1440, "50"}, {1441, "0"}, {1442, "0"}};
    for (const auto& [nSlider, szValue] : labels) {
        EXPECT_EQ(Value(nSlider), QString::fromLatin1(szValue)) << nSlider;
        EXPECT_EQ(panel.GetSlider(nSlider)->GetPos(), QString::fromLatin1(szValue).toInt());
    }
    for (const EnhancePage& page : EnhancePages()) {
        EXPECT_FALSE(panel.GetEnableBox(page.nEnableId)->isChecked());
    }
}

TEST_F(EnhancePanel, WithoutASelectedPaneChangesStayInTheControls) {
    owner.block.reset();
    panel.LoadControls();
    EXPECT_EQ(Value(1436), QStringLiteral("220"));  // the default block
    Keys(1436, Qt::Key_Left, 3);
    EXPECT_EQ(Value(1436), QStringLiteral("217"));
    Click(panel.GetEnableBox(1462));
    Click(panel.GetControl(CVideoEnhance::IDC_RESET));
    EXPECT_TRUE(owner.blocks.empty());
    EXPECT_TRUE(owner.modules.empty());
    EXPECT_EQ(owner.indicatorRefreshes, 0);
}

TEST_F(EnhancePanel, LabelClickShowsThatPageOnlyAndTextsNameTheModules) {
    EXPECT_TRUE(panel.GetSlider(1436)->isVisible());
    EXPECT_FALSE(panel.GetSlider(1441)->isVisible());
    EXPECT_EQ(panel.GetEnableBox(1462)->text(), QStringLiteral("Enable Dehaze"));
    EXPECT_EQ(panel.windowTitle(), QStringLiteral("Video Enhance"));
    EXPECT_EQ(panel.GetControl(1040)->geometry(), QRect(380, 335, 80, 25));
    EXPECT_FALSE(panel.GetControl(CVideoEnhance::IDC_CUSTOM_REGION)->isVisible());

    QWidget* pLens = panel.GetControl(1407);
    QTest::mouseClick(&panel, Qt::LeftButton, {}, pLens->geometry().center());
    EXPECT_EQ(panel.CurrentPage(), 7);
    EXPECT_TRUE(panel.GetSlider(1441)->isVisible());
    EXPECT_TRUE(panel.GetSlider(1442)->isVisible());
    EXPECT_FALSE(panel.GetSlider(1436)->isVisible());
    EXPECT_FALSE(panel.GetEnableBox(1462)->isVisible());
    EXPECT_EQ(panel.GetEnableBox(1465)->geometry(), QRect(150, 70, 150, 21));
    EXPECT_EQ(panel.GetSlider(1441)->GetRangeMin(), -256);
    // Retinex rows: the order of the page and its wider labels.
    panel.ShowPage(2);
    EXPECT_EQ(panel.GetSlider(1431)->y(), 20);
    EXPECT_EQ(panel.GetSlider(1430)->y(), 95);
    EXPECT_EQ(panel.GetEnableBox(1461)->y(), 120);
}

TEST_F(EnhancePanel, ClosingAsksTheOwnerToHideThePanel) {
    panel.close();
    Settle();
    EXPECT_EQ(owner.closeRequests, 1);
    EXPECT_TRUE(panel.isVisible());
}

}  // namespace
