#include "enhance/video_enhance_dlg.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "controls/bitmap_slider.h"
#include "controls/skin_picture.h"
#include "controls/slider_moved_event.h"
#include "enhance/enhance_messages.h"
#include "enhance/enhance_pages.h"
#include "enhance/video_enhance_owner.h"
#include "playback/lang_text.h"

namespace {
const QColor kBackground(213, 234, 255);
const QColor kFrameLine(176, 216, 255);
const QColor kHeaderText(124, 155, 223);
const QColor kHeaderBack(232, 238, 247);
const QColor kCurrentText(255, 255, 255);
const QColor kCurrentBack(60, 104, 170);
const QColor kLabelText(0, 0, 0);
const QColor kLabelBack(255, 255, 255);
const QRect kListFrame(QPoint(4, 4), QPoint(140, 300));
const QRect kPageFrame(QPoint(144, 4), QPoint(475, 300));

constexpr int kRowY[] = {20, 45, 70, 95};
constexpr int kRowHeight = 21;
constexpr int kListX = 8;
constexpr int kListWidth = 128;
constexpr int kListRowY = 40;
constexpr int kListRowStep = 26;

void Colour(QWidget* pWidget, const QColor& text, const QColor& back) {
    QPalette pal = pWidget->palette();
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::Window, back);
    pal.setColor(QPalette::Base, back);
    pal.setColor(QPalette::Text, text);
    pWidget->setPalette(pal);
    pWidget->setAutoFillBackground(true);
}

QString ModuleName(const EnhancePage& page) { return LangText(page.szKey, page.szDefault); }
}  // namespace

CVideoEnhance::CVideoEnhance(IVideoEnhanceOwner* pOwner, QWidget* pParent)
    : QDialog(pParent), m_pOwner(pOwner) {
    setModal(false);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kBackground);
    setPalette(pal);
    setAutoFillBackground(true);
    CreateControls();
    setGeometry(500, 400, 480, 400);
    ShowPage(m_nPage);
    RefreshTexts();
    LoadControls();
}

template <typename T>
T* CVideoEnhance::Add(int nId, T* pControl, const QRect& rc, int nPage) {
    pControl->setObjectName(QStringLiteral("control%1").arg(nId));
    pControl->setGeometry(rc);
    m_controls[nId] = pControl;
    if (nPage >= 0) m_pageOf[nId] = nPage;
    return pControl;
}

void CVideoEnhance::CreateControls() {
    auto* pHeader = Add(IDC_HEADER, new QLabel(this), QRect(kListX, 10, kListWidth, 24), -1);
    Colour(pHeader, kHeaderText, kHeaderBack);
    pHeader->setIndent(4);
    const auto& pages = EnhancePages();
    for (int i = 0; i < ENHANCE_PAGE_COUNT; ++i) {
        auto* pLabel = Add(pages[i].nLabelId, new QLabel(this),
                           QRect(kListX, kListRowY + i * kListRowStep, kListWidth, 22), -1);
        pLabel->setIndent(6);
        CreatePage(i, pages[i]);
    }
    auto* pReset = Add(IDC_RESET, new QPushButton(this), QRect(380, 335, 80, 25), -1);
    pReset->setAutoDefault(false);
    connect(pReset, &QPushButton::clicked, this, &CVideoEnhance::OnReset);
    // Kept from the template; it has no action.
    Add(IDC_CUSTOM_REGION, new QCheckBox(this), QRect(150, 145, 120, 21), -1)->hide();
}

void CVideoEnhance::CreatePage(int nPage, const EnhancePage& page) {
    for (size_t nRow = 0; nRow < page.fields.size(); ++nRow) {
        const VieParamInfo* pParam = VieParamOfField(page.fields[nRow]);
        const int y = kRowY[nRow];
        // The Retinex labels other than Scale are longer.
        const bool bWide = page.nModule == VIE_EHAN && page.fields[nRow] != VIE_FIELD_EHAN_SCALE;
        auto* pLabel = new QLabel(this);
        Colour(pLabel, kLabelText, kLabelBack);
        // Row labels have no control id of their own; they are kept under the
        // slider's id negated.
        Add(-pParam->nSliderId, pLabel, QRect(150, y, bWide ? 70 : 50, kRowHeight), nPage);

        auto* pSlider = new CBitmapSlider(pParam->nSliderId, this);
        pSlider->SetChannelPieces(SkinPicture(QStringLiteral("progress_channel_left")),
                                  SkinPicture(QStringLiteral("progress_channel_middle")),
                                  SkinPicture(QStringLiteral("progress_channel_right")),
                                  SkinPicture(QStringLiteral("progress_channel_active_piece")));
        pSlider->SetBitmapThumb(QStringLiteral("progress_thumb"),
                                QStringLiteral("progress_thumb_active"));
        pSlider->SetRange(pParam->nMin, pParam->nMax);
        pSlider->SetPageSize(std::max(1, (pParam->nMax - pParam->nMin) / 16));
        Add(pParam->nSliderId, pSlider, QRect(220, y, 190, kRowHeight), nPage);
        m_fieldOfSlider[pParam->nSliderId] = pParam->nField;

        auto* pValue = new QLabel(this);
        Colour(pValue, kLabelText, kLabelBack);
        Add(pParam->nSliderId + VALUE_LABEL_OFFSET, pValue, QRect(430, y, 30, kRowHeight), nPage);
    }
    auto* pBox = new QCheckBox(this);
    Colour(pBox, kLabelText, kLabelBack);
    Add(page.nEnableId, pBox, QRect(150, page.nEnableY, page.nEnableWidth, kRowHeight), nPage);
    connect(pBox, &QCheckBox::clicked, this, [this, &page] { OnEnableClicked(page); });
}

QWidget* CVideoEnhance::GetControl(int nId) const {
    auto it = m_controls.find(nId);
    return it == m_controls.end() ? nullptr : it->second;
}

CBitmapSlider* CVideoEnhance::GetSlider(int nId) const {
    return qobject_cast<CBitmapSlider*>(GetControl(nId));
}

QCheckBox* CVideoEnhance::GetEnableBox(int nId) const {
    return qobject_cast<QCheckBox*>(GetControl(nId));
}

void CVideoEnhance::RefreshTexts() {
    const QString strTitle = LangText("IDS_VIE_VideoEnhance", "Video Enhance");
    setWindowTitle(strTitle);
    static_cast<QLabel*>(GetControl(IDC_HEADER))->setText(strTitle);
    const QString strEnable = LangText("IDS_VIE_Enable", "Enable");
    for (const EnhancePage& page : EnhancePages()) {
        static_cast<QLabel*>(GetControl(page.nLabelId))->setText(ModuleName(page));
        GetEnableBox(page.nEnableId)->setText(strEnable + QLatin1Char(' ') + ModuleName(page));
    }
    for (const VieParamInfo& param : VieParams()) {
        static_cast<QLabel*>(GetControl(-param.nSliderId))
            ->setText(LangText(param.szKey, param.szDefault));
    }
    static_cast<QPushButton*>(GetControl(IDC_RESET))->setText(LangText("IDS_Global_Reset", "Reset"));
}

VideoEnhanceParams CVideoEnhance::CurrentBlock() const {
    std::optional<VideoEnhanceParams> block = m_pOwner ? m_pOwner->SelectedVieParams() : std::nullopt;
    return block.value_or(DefaultVieParams());
}

void CVideoEnhance::ShowValue(int nSliderId, int nValue) {
    static_cast<QLabel*>(GetControl(nSliderId + VALUE_LABEL_OFFSET))
        ->setText(QString::asprintf("%d", nValue));
}

void CVideoEnhance::LoadControls() {
    const VideoEnhanceParams block = CurrentBlock();
    for (const VieParamInfo& param : VieParams()) {
        CBitmapSlider* pSlider = GetSlider(param.nSliderId);
        pSlider->SetRange(param.nMin, param.nMax);
        pSlider->SetPos(GetVieField(block, param.nField));
        ShowValue(param.nSliderId, pSlider->GetPos());
    }
    const int32_t nModules = GetVieField(block, VIE_FIELD_MODULES);
    for (const EnhancePage& page : EnhancePages()) {
        GetEnableBox(page.nEnableId)->setChecked((nModules & page.nModule) != 0);
    }
}

void CVideoEnhance::ShowPage(int nPage) {
    if (nPage < 0 || nPage >= ENHANCE_PAGE_COUNT) return;
    m_nPage = nPage;
    for (const auto& [nId, nOwnPage] : m_pageOf) GetControl(nId)->setVisible(nOwnPage == nPage);
    const auto& pages = EnhancePages();
    for (int i = 0; i < ENHANCE_PAGE_COUNT; ++i) {
        const bool bCurrent = i == nPage;
        Colour(GetControl(pages[i].nLabelId), bCurrent ? kCurrentText : kLabelText,
               bCurrent ? kCurrentBack : kLabelBack);
    }
    update();
}

void CVideoEnhance::OnSliderMoved(int nSliderId, int nPos) {
    auto it = m_fieldOfSlider.find(nSliderId);
    if (it == m_fieldOfSlider.end()) return;
    ShowValue(nSliderId, nPos);
    std::optional<VideoEnhanceParams> block = m_pOwner ? m_pOwner->SelectedVieParams() : std::nullopt;
    if (!block) return;
    // The module set goes out as it is: a slider never switches a module.
    SetVieField(&*block, it->second, nPos);
    m_pOwner->SetSelectedVieParams(*block);
}

void CVideoEnhance::OnEnableClicked(const EnhancePage& page) {
    std::optional<VideoEnhanceParams> block = m_pOwner ? m_pOwner->SelectedVieParams() : std::nullopt;
    if (!block) return;
    const bool bOn = GetEnableBox(page.nEnableId)->isChecked();
    int32_t nModules = GetVieField(*block, VIE_FIELD_MODULES);
    nModules = bOn ? nModules | page.nModule : nModules & ~page.nModule;
    SetVieField(&*block, VIE_FIELD_MODULES, nModules);
    if (bOn) {
        for (int nField : page.fields) {
            SetVieField(&*block, nField, GetSlider(VieParamOfField(nField)->nSliderId)->GetPos());
        }
    }
    m_pOwner->SetSelectedVieModules(page.nModule, bOn);
    m_pOwner->SetSelectedVieParams(*block);
    m_pOwner->RefreshEnhanceIndicators();
}

void CVideoEnhance::OnReset() {
    if (m_pOwner && m_pOwner->SelectedVieParams()) {
        m_pOwner->SetSelectedVieModules(VIE_ALL_MODULES, false);
        m_pOwner->SetSelectedVieParams(DefaultVieParams());
        m_pOwner->RefreshEnhanceIndicators();
    }
    LoadControls();
}

bool CVideoEnhance::event(QEvent* pEvent) {
    if (pEvent->type() == ORLIN_MSG_SLIDER_MOVING || pEvent->type() == ORLIN_MSG_SLIDER_RELEASED) {
        // Every notification applies, so dragging changes the picture as it goes.
        const auto* pMoved = static_cast<SliderMovedEvent*>(pEvent);
        OnSliderMoved(pMoved->ControlId(), pMoved->Position());
        return true;
    }
    return QDialog::event(pEvent);
}

void CVideoEnhance::showEvent(QShowEvent* pEvent) {
    RefreshTexts();
    LoadControls();
    QDialog::showEvent(pEvent);
}

void CVideoEnhance::closeEvent(QCloseEvent* pEvent) {
    QObject* pReceiver = m_pOwner ? m_pOwner->EnhanceCloseReceiver() : nullptr;
    if (pReceiver == nullptr) {
        QDialog::closeEvent(pEvent);
        return;
    }
    // The owner hides the panel and gives its menu item back.
    pEvent->ignore();
    QCoreApplication::postEvent(pReceiver, new QEvent(ORLIN_MSG_ENHANCE_CLOSED));
}

void CVideoEnhance::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) {
        const auto& pages = EnhancePages();
        for (int i = 0; i < ENHANCE_PAGE_COUNT; ++i) {
            if (GetControl(pages[i].nLabelId)->geometry().contains(pEvent->position().toPoint())) {
                ShowPage(i);
                return;
            }
        }
    }
    QDialog::mousePressEvent(pEvent);
}

void CVideoEnhance::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(kFrameLine);
    painter.drawRect(kListFrame);
    painter.drawRect(kPageFrame);
}
