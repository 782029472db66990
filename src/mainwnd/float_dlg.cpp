#include "mainwnd/float_dlg.h"

#include <QLabel>
#include <QPainter>

#include "controls/skin_button.h"
#include "controls/skin_picture.h"
#include "enhance/enhance_pages.h"
#include "playback/lang_text.h"

namespace {
constexpr int kButtonY = 1;
constexpr int kButtonWidth = 30;
constexpr int kButtonHeight = 24;
constexpr int kIndicatorX = 128;
constexpr int kIndicatorWidth = 28;
// Short names that fit an indicator, by module bit order.
const char* const kIndicatorText[CFloatDlg::VIE_INDICATORS] = {"ADJ", "RTX", "DHZ", "DNS",
                                                               "SHP", "DBK", "CRB", "LNS"};
}  // namespace

CFloatDlg::CFloatDlg(QWidget* pParent, std::function<void(int)> onButton)
    : QWidget(pParent), m_onButton(std::move(onButton)) {
    setObjectName(QStringLiteral("floatPanel"));
    AddButton(IDC_FULL_SCREEN, 0);
    AddButton(IDC_TOP_MOST, 31);
    AddButton(IDC_PLAYER_SETTING, 62);
    AddButton(IDC_PART_ZOOM, 93);
    for (int i = 0; i < VIE_INDICATORS; ++i) {
        auto* pIndicator = new QLabel(QString::fromLatin1(kIndicatorText[i]), this);
        pIndicator->setObjectName(QStringLiteral("indicator%1").arg(IDC_FIRST_VIE_INDICATOR + i));
        pIndicator->setGeometry(kIndicatorX + i * kIndicatorWidth, kButtonY, kIndicatorWidth - 2,
                                kButtonHeight);
        pIndicator->setAlignment(Qt::AlignCenter);
        pIndicator->setStyleSheet(QStringLiteral("color: white; background: rgb(60, 104, 170);"));
        pIndicator->hide();
        m_indicators[i] = pIndicator;
    }
    Refresh(FloatPanelState());
}

CSkinButton* CFloatDlg::AddButton(int nId, int nX) {
    auto* pButton = new CSkinButton(this);
    pButton->setObjectName(QStringLiteral("button%1").arg(nId));
    pButton->setGeometry(nX, kButtonY, kButtonWidth, kButtonHeight);
    connect(pButton, &CSkinButton::clicked, this, [this, nId] {
        if (m_onButton) m_onButton(nId);
    });
    m_buttons[nId] = pButton;
    return pButton;
}

QLabel* CFloatDlg::GetIndicator(int nId) const {
    const int i = nId - IDC_FIRST_VIE_INDICATOR;
    return i >= 0 && i < VIE_INDICATORS ? m_indicators[i] : nullptr;
}

CSkinButton* CFloatDlg::GetButton(int nId) const {
    auto it = m_buttons.find(nId);
    return it == m_buttons.end() ? nullptr : it->second;
}

void CFloatDlg::Place(const QRect& rcPaneArea, bool bFullScreen) {
    if (bFullScreen) {
        hide();
        return;
    }
    setGeometry(rcPaneArea.x(), rcPaneArea.y() - HEIGHT, rcPaneArea.width(), HEIGHT);
    raise();
    show();
    update();
}

void CFloatDlg::Refresh(const FloatPanelState& state) {
    GetButton(IDC_FULL_SCREEN)
        ->SetSkin(
            state.bFullScreen ? QStringLiteral("fullscreen_exit") : QStringLiteral("fullscreen"),
            LangText("IDS_MainWnd_FullScreen", "Full Screen"));
    QString strTopMost;
    switch (state.nTopMostMode) {
        case 1:
            strTopMost = LangText("IDS_MainWnd_PlayTop", "Only Playing");
            break;
        case 2:
            strTopMost = LangText("IDS_MainWnd_AlwaysTop", "Always");
            break;
        default:
            strTopMost = LangText("IDS_MainWnd_NeverTop", "Never");
            break;
    }
    GetButton(IDC_TOP_MOST)
        ->SetSkin(
            state.nTopMostMode == 0 ? QStringLiteral("topmost") : QStringLiteral("topmost_on"),
            strTopMost);
    GetButton(IDC_PLAYER_SETTING)
        ->SetSkin(QStringLiteral("settings"),
                  LangText("IDS_PlaySetDlg_PlayerSetting", "Player Setting"));
    GetButton(IDC_PART_ZOOM)
        ->SetSkin(QStringLiteral("part_zoom"),
                  state.bPartZoom ? LangText("IDS_Global_CancelPart", "Cancel Part")
                                  : LangText("IDS_Global_Part", "Part"));
    for (int i = 0; i < VIE_INDICATORS; ++i) {
        const int32_t nModule = 1 << i;
        if (const EnhancePage* pPage = EnhancePageOfModule(nModule)) {
            m_indicators[i]->setToolTip(LangText(pPage->szKey, pPage->szDefault));
        }
        m_indicators[i]->setVisible((state.nVieModules & nModule) != 0);
    }
}

void CFloatDlg::paintEvent(QPaintEvent*) {
    // The background picture is stretched over the whole strip once per
    // size: the strip repaints with the panes under a playing picture, and a
    // stretched draw each time costs the window's thread more than a copy.
    const qreal dRatio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * dRatio).toSize();
    if (m_background.size() != pixels) {
        const QPixmap picture = SkinPicture(QStringLiteral("float_panel"));
        m_background = picture.isNull() ? QPixmap()
                                        : picture.scaled(pixels, Qt::IgnoreAspectRatio,
                                                         Qt::FastTransformation);
        m_background.setDevicePixelRatio(dRatio);
    }
    if (m_background.isNull()) return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
}
