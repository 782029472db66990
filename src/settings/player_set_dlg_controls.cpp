// The player settings dialog's controls, where they sit, and their captions.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "controls/bitmap_slider.h"
#include "controls/my_hot_key_ctrl.h"
#include "controls/skin_picture.h"
#include "lang/language_parser.h"
#include "settings/player_set_dlg.h"
#include "settings/player_set_ids.h"

namespace {
const QColor kCaptionText(0, 0, 0);
const QColor kCaptionBack(255, 255, 255);
const QColor kHeaderText(50, 137, 198);
const QColor kHeaderBack(214, 230, 254);
const QColor kGroupText(124, 155, 223);
const QColor kGroupBack(232, 238, 247);

constexpr int kListX = 6;
constexpr int kListWidth = 128;
constexpr int kRowHeight = 22;
constexpr int kRowStep = 24;
constexpr int kColourSliderWidth = 200;

QString Text(const char* szKey, const char* szDefault) {
    QString strText;
    CLanguageParser::FindString(szKey, strText, QString::fromUtf8(szDefault));
    return strText;
}

void Colour(QWidget* pWidget, const QColor& text, const QColor& back) {
    QPalette pal = pWidget->palette();
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::Window, back);
    pWidget->setPalette(pal);
    pWidget->setAutoFillBackground(true);
}

QLabel* Header(QWidget* pParent) {
    auto* pLabel = new QLabel(pParent);
    Colour(pLabel, kHeaderText, kHeaderBack);
    pLabel->setIndent(4);
    return pLabel;
}

// The colour sliders with their ids, label ids, channel pictures and keys.
struct ColourRow {
    int nSlider;
    int nLabel;
    int nChannel;
    const char* szKey;
    const char* szDefault;
};
constexpr ColourRow kColourRows[] = {
    {IDC_PS_LIGHTNESS, IDC_PS_LIGHTNESS_LABEL, 131, "IDS_PlaySetDlg_Lightness", "Lightness"},
    {IDC_PS_HUE, IDC_PS_HUE_LABEL, 133, "IDS_PlaySetDlg_Hue", "Hue"},
    {IDC_PS_CONTRAST, IDC_PS_CONTRAST_LABEL, 134, "IDS_PlaySetDlg_Constrast", "Constrast"},
    {IDC_PS_SATURATION, IDC_PS_SATURATION_LABEL, 135, "IDS_PlaySetDlg_Chromaticity",
     "Chromaticity"},
};

struct HotKeyRowText {
    const char* szKey;
    const char* szDefault;
};
constexpr HotKeyRowText kHotKeyRows[CPlayerSetDlg::HOTKEY_ROWS] = {
    {"IDS_Global_PlayOrPause", "Play/Pause"},   {"IDS_Global_Stop", "Stop"},
    {"IDS_Global_LastFrame", "Frame Backward"}, {"IDS_Global_NextFrame", "Frame Forward"},
    {"IDS_Global_SoundUp", "Volume Up"},        {"IDS_Global_SoundDown", "Volume Down"},
    {"IDS_Global_GotoStart", "Go to Start"},    {"IDS_Global_GotoEnd", "Go to End"},
    {"IDS_MainWnd_AddFiles", "Add files"},
};
}  // namespace

template <typename T>
T* CPlayerSetDlg::Add(int nId, T* pControl, const QRect& rc, std::vector<int> pages) {
    pControl->setObjectName(QStringLiteral("control%1").arg(nId));
    pControl->setGeometry(rc);
    m_controls[nId] = pControl;
    m_pagesOf[nId] = std::move(pages);
    return pControl;
}

QWidget* CPlayerSetDlg::GetControl(int nId) const {
    auto it = m_controls.find(nId);
    return it == m_controls.end() ? nullptr : it->second;
}

MyHotKeyCtrl* CPlayerSetDlg::GetHotKeyCtrl(int nRow) const {
    return nRow >= 0 && nRow < HOTKEY_ROWS ? m_hotKeyCtrls[static_cast<size_t>(nRow)] : nullptr;
}

CBitmapSlider* CPlayerSetDlg::GetColourSlider(int nId) const {
    return qobject_cast<CBitmapSlider*>(GetControl(nId));
}

void CPlayerSetDlg::CreateControls() {
    CreatePageList();
    Add(IDC_PS_PAGE_HEADER, Header(this), QRect(150, 12, 305, 24), {});
    CreateBasicPage();
    CreateHotKeyPage();
    CreateLocatePage();
    CreateSpeedPage();
    CreateImagePage();
    CreateColourPage();
    CreateCapturePages();
    auto* pOk = Add(IDC_PS_OK, new QPushButton(this), QRect(290, 340, 80, 26), {});
    auto* pCancel = Add(IDC_PS_CANCEL, new QPushButton(this), QRect(380, 340, 80, 26), {});
    pOk->setDefault(true);
    connect(pOk, &QPushButton::clicked, this, &CPlayerSetDlg::OnOK);
    connect(pCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CPlayerSetDlg::CreatePageList() {
    // Group headers and page labels, top to bottom; a page of 0 is a header.
    const std::pair<int, int> rows[] = {
        {IDC_PS_GROUP_GENERAL, 0},           {IDC_PS_PAGE_BASIC, PAGE_BASIC},
        {IDC_PS_PAGE_HOTKEY, PAGE_HOTKEY},   {IDC_PS_GROUP_PLAY, 0},
        {IDC_PS_PAGE_LOCATE, PAGE_LOCATE},   {IDC_PS_PAGE_SPEED, PAGE_SPEED},
        {IDC_PS_GROUP_PICTURE, 0},           {IDC_PS_PAGE_IMAGE, PAGE_IMAGE_CONTROL},
        {IDC_PS_PAGE_COLOUR, PAGE_COLOUR},   {IDC_PS_GROUP_TOOLS, 0},
        {IDC_PS_PAGE_CAPTURE, PAGE_CAPTURE}, {IDC_PS_PAGE_CON_CAPTURE, PAGE_CON_CAPTURE},
    };
    int y = 8;
    for (const auto& [nId, nPage] : rows) {
        auto* pLabel = new QLabel(this);
        // Clicks go to the dialog, which hit-tests the page labels.
        pLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
        pLabel->setIndent(nPage == 0 ? 4 : 14);
        Add(nId, pLabel, QRect(kListX, y, kListWidth, kRowHeight), {});
        if (nPage == 0) {
            Colour(pLabel, kGroupText, kGroupBack);
            m_groupHeaders.push_back(pLabel);
        } else {
            m_pageLabels[nPage] = pLabel;
        }
        y += kRowStep;
    }
}

void CPlayerSetDlg::CreateBasicPage() {
    const std::vector<int> page{PAGE_BASIC};
    for (auto [nId, y] : {std::pair{IDC_PS_PLAY_OPTIMIZATION, 45},
                          {IDC_PS_THROW_B, 125},
                          {IDC_PS_PLAYER_TIMER, 180}}) {
        Add(nId, Header(this), QRect(150, y, 305, 20), page);
    }
    auto* pHigh = Add(IDC_PS_HIGH_QUALITY, new QCheckBox(this), QRect(160, 70, 140, 20), page);
    auto* pDeflash = Add(IDC_PS_DEFLASH, new QCheckBox(this), QRect(310, 70, 140, 20), page);
    connect(pHigh, &QCheckBox::clicked, this, [this] {
        m_bHighQuality = !m_bHighQuality;
        ShowValues();
    });
    connect(pDeflash, &QCheckBox::clicked, this, [this] {
        m_bDeflash = !m_bDeflash;
        ShowValues();
    });
    // Radio buttons: id, place, the field they set and its value.
    struct Radio {
        int nId;
        QRect rc;
        int32_t* pnField;
        int32_t nValue;
    };
    const Radio radios[] = {
        {IDC_PS_EFFICIENCY_PRIORITY, {160, 95, 140, 20}, &m_nPriority, 1},
        {IDC_PS_EFFECT_PRIORITY, {310, 95, 140, 20}, &m_nPriority, 0},
        {IDC_PS_DONT_THROW, {160, 150, 95, 20}, &m_nThrowB, 0},
        {IDC_PS_THROW_1, {258, 150, 95, 20}, &m_nThrowB, 1},
        {IDC_PS_THROW_2, {356, 150, 95, 20}, &m_nThrowB, 2},
        {IDC_PS_HIGH_PRECISION, {160, 205, 140, 20}, &m_nPlayerTimerPrecision, 1},
        {IDC_PS_LOW_PRECISION, {310, 205, 140, 20}, &m_nPlayerTimerPrecision, 2},
    };
    std::map<int32_t*, QButtonGroup*> groups;
    for (const Radio& radio : radios) {
        auto* pRadio = Add(radio.nId, new QRadioButton(this), radio.rc, page);
        QButtonGroup*& pGroup = groups[radio.pnField];
        if (pGroup == nullptr) pGroup = new QButtonGroup(this);
        pGroup->addButton(pRadio);
        connect(pRadio, &QRadioButton::clicked, this, [this, radio] {
            *radio.pnField = radio.nValue;
            ShowValues();
        });
    }
}

void CPlayerSetDlg::CreateHotKeyPage() {
    const std::vector<int> page{PAGE_HOTKEY};
    for (int i = 0; i < HOTKEY_ROWS; ++i) {
        auto* pLabel = new QLabel(this);
        Colour(pLabel, kCaptionText, kCaptionBack);
        pLabel->setGeometry(150, 55 + 25 * i, 120, 20);
        auto* pCtrl = new MyHotKeyCtrl(this);
        pCtrl->setObjectName(QStringLiteral("hotKey%1").arg(i));
        pCtrl->setGeometry(260, 55 + 25 * i, 150, 20);
        m_hotKeyLabels[static_cast<size_t>(i)] = pLabel;
        m_hotKeyCtrls[static_cast<size_t>(i)] = pCtrl;
    }
}

void CPlayerSetDlg::CreateLocatePage() {
    const std::vector<int> page{PAGE_LOCATE};
    Add(IDC_PS_TIME_LOCATE_LABEL, Header(this), QRect(150, 55, 305, 20), page);
    Add(IDC_PS_FRAME_LOCATE_LABEL, Header(this), QRect(150, 120, 305, 20), page);
    Add(IDC_PS_TIME_EDIT, new QLineEdit(this), QRect(160, 80, 200, 22), page);
    Add(IDC_PS_FRAME_EDIT, new QLineEdit(this), QRect(160, 145, 200, 22), page);
    auto* pTime = Add(IDC_PS_TIME_LOCATE, new QPushButton(this), QRect(370, 79, 80, 24), page);
    auto* pFrame = Add(IDC_PS_FRAME_LOCATE, new QPushButton(this), QRect(370, 144, 80, 24), page);
    pTime->setAutoDefault(false);
    pFrame->setAutoDefault(false);
    connect(pTime, &QPushButton::clicked, this, [this] { OnLocate(true); });
    connect(pFrame, &QPushButton::clicked, this, [this] { OnLocate(false); });
}

void CPlayerSetDlg::CreateSpeedPage() {
    const std::vector<int> page{PAGE_SPEED};
    auto* pUp = Add(IDC_PS_SPEED_UP, new QRadioButton(this), QRect(160, 55, 120, 20), page);
    auto* pDown = Add(IDC_PS_SPEED_DOWN, new QRadioButton(this), QRect(300, 55, 120, 20), page);
    auto* pGroup = new QButtonGroup(this);
    pGroup->addButton(pUp);
    pGroup->addButton(pDown);
    connect(pUp, &QRadioButton::clicked, this, [this] { OnSpeedDirection(true); });
    connect(pDown, &QRadioButton::clicked, this, [this] { OnSpeedDirection(false); });
    auto* pSlider =
        Add(IDC_PS_SPEED_SLIDER, new QSlider(Qt::Horizontal, this), QRect(160, 90, 280, 24), page);
    pSlider->setRange(0, 4);
    pSlider->setPageStep(1);
    pSlider->setTickPosition(QSlider::TicksBelow);
    connect(pSlider, &QSlider::valueChanged, this, &CPlayerSetDlg::OnSpeedSlider);
    for (int i = 0; i < 5; ++i) {
        auto* pScale = new QLabel(this);
        pScale->setAlignment(Qt::AlignCenter);
        Add(IDC_PS_SPEED_X1 + i, pScale, QRect(150 + i * 66, 118, 40, 16), page);
    }
}

void CPlayerSetDlg::CreateImagePage() {
    const std::vector<int> page{PAGE_IMAGE_CONTROL};
    auto* pNormal =
        Add(IDC_PS_NORMAL_RESOLUTION, new QRadioButton(this), QRect(160, 55, 200, 20), page);
    auto* pLow = Add(IDC_PS_LOW_RESOLUTION, new QRadioButton(this), QRect(160, 80, 200, 20), page);
    auto* pGroup = new QButtonGroup(this);
    pGroup->addButton(pNormal);
    pGroup->addButton(pLow);
    connect(pNormal, &QRadioButton::clicked, this, [this] {
        m_nResolution = 1;
        ShowValues();
    });
    connect(pLow, &QRadioButton::clicked, this, [this] {
        m_nResolution = 2;
        ShowValues();
    });
}

void CPlayerSetDlg::CreateColourPage() {
    const std::vector<int> page{PAGE_COLOUR};
    int y = 50;
    for (const ColourRow& row : kColourRows) {
        auto* pLabel = new QLabel(this);
        Colour(pLabel, kCaptionText, kCaptionBack);
        Add(row.nLabel, pLabel, QRect(160, y, kColourSliderWidth, 18), page);
        auto* pSlider = new CBitmapSlider(row.nSlider, this);
        pSlider->SetBitmapChannel(SkinPicture(row.nChannel));
        pSlider->SetBitmapThumb(QStringLiteral("progress_thumb"),
                                QStringLiteral("progress_thumb_active"));
        pSlider->SetMargin(0, 1, 0, 0);
        pSlider->SetRange(0, 128);
        Add(row.nSlider, pSlider, QRect(160, y + 22, kColourSliderWidth, 12), page);
        y += 55;
    }
    auto* pReset = Add(IDC_PS_COLOUR_RESET, new QPushButton(this), QRect(370, 270, 80, 24), page);
    pReset->setAutoDefault(false);
    connect(pReset, &QPushButton::clicked, this, &CPlayerSetDlg::OnColourReset);
}

void CPlayerSetDlg::CreateCapturePages() {
    const std::vector<int> both{PAGE_CAPTURE, PAGE_CON_CAPTURE};
    Add(IDC_PS_SAVE_PATH, new QLabel(this), QRect(150, 55, 100, 20), both);
    Add(IDC_PS_SAVE_TYPE, new QLabel(this), QRect(150, 115, 100, 20), both);
    auto* pBrowse = Add(IDC_PS_BROWSE, new QPushButton(this), QRect(370, 139, 80, 24), both);
    pBrowse->setAutoDefault(false);
    connect(pBrowse, &QPushButton::clicked, this, &CPlayerSetDlg::OnBrowse);
    for (auto [nEdit, nCombo, nPage] :
         {std::tuple{IDC_PS_CAPTURE_FOLDER, IDC_PS_CAPTURE_TYPE, int(PAGE_CAPTURE)},
          std::tuple{IDC_PS_CON_CAPTURE_FOLDER, IDC_PS_CON_CAPTURE_TYPE, int(PAGE_CON_CAPTURE)}}) {
        auto* pEdit = Add(nEdit, new QLineEdit(this), QRect(160, 80, 290, 22), {nPage});
        pEdit->setReadOnly(true);
        auto* pCombo = Add(nCombo, new QComboBox(this), QRect(160, 140, 120, 22), {nPage});
        pCombo->addItems({QStringLiteral("BMP"), QStringLiteral("JPEG")});
    }
    for (int nId : {IDC_PS_SAVE_PATH, IDC_PS_SAVE_TYPE}) {
        Colour(GetControl(nId), kCaptionText, kCaptionBack);
    }
}

void CPlayerSetDlg::SetCaptions() {
    setWindowTitle(Text("IDS_PlaySetDlg_PlayerSetting", "Player Settings"));
    auto set = [this](int nId, const char* szKey, const char* szDefault) {
        QWidget* pControl = GetControl(nId);
        const QString strText = Text(szKey, szDefault);
        if (auto* pLabel = qobject_cast<QLabel*>(pControl)) {
            pLabel->setText(strText);
        } else if (auto* pButton = qobject_cast<QAbstractButton*>(pControl)) {
            pButton->setText(strText);
        }
    };
    set(IDC_PS_GROUP_GENERAL, "IDS_PlaySetDlg_GeneralSet", "General Settings");
    set(IDC_PS_PAGE_BASIC, "IDS_PlaySetDlg_Basic", "Basic");
    set(IDC_PS_PAGE_HOTKEY, "IDS_PlaySetDlg_HotKey", "HotKey");
    set(IDC_PS_GROUP_PLAY, "IDS_PlaySetDlg_PlaySetting", "Play Settings");
    set(IDC_PS_PAGE_LOCATE, "IDS_Global_VideoLocate", "Video Locate");
    set(IDC_PS_PAGE_SPEED, "IDS_Global_Speed", "Play Speed");
    set(IDC_PS_GROUP_PICTURE, "IDS_PlaySetDlg_PictureSetting", "Picture Setting");
    set(IDC_PS_PAGE_IMAGE, "IDS_PlaySetDlg_ImageControl", "Image Control");
    set(IDC_PS_PAGE_COLOUR, "IDS_PlaySetDlg_ColorAdjust", "Color Adjust");
    set(IDC_PS_GROUP_TOOLS, "IDS_PlaySetDlg_ToolSettings", "Tool Settings");
    set(IDC_PS_PAGE_CAPTURE, "IDS_Global_Capture", "Captrue");
    set(IDC_PS_PAGE_CON_CAPTURE, "IDS_Global_ContinuousCapture", "Continuous Capture");
    set(IDC_PS_PLAY_OPTIMIZATION, "IDS_PlaySetDlg_PlayOptimization", "Play Optimization");
    set(IDC_PS_THROW_B, "IDS_PlaySetDlg_ThrowB", "Throw B-Frame");
    set(IDC_PS_PLAYER_TIMER, "IDS_PlaySetDlg_PlayerTimer", "Player Timer");
    set(IDC_PS_HIGH_QUALITY, "IDS_PlaySetDlg_HighQuality", "High Quality Display");
    set(IDC_PS_DEFLASH, "IDS_PlaySetDlg_Deflash", "Deflash");
    set(IDC_PS_EFFICIENCY_PRIORITY, "IDS_PlaySetDlg_EfficiencyPriority", "Efficiency Priority");
    set(IDC_PS_EFFECT_PRIORITY, "IDS_PlaySetDlg_EffectPriority", "Effect Priority");
    set(IDC_PS_DONT_THROW, "IDS_PlaySetDlg_DonotThrowB", "Don't Throw");
    set(IDC_PS_THROW_1, "IDS_PlaySetDlg_ThrowB1", "Throw 1");
    set(IDC_PS_THROW_2, "IDS_PlaySetDlg_ThrowB2", "Throw 2");
    set(IDC_PS_HIGH_PRECISION, "IDS_PlaySetDlg_HighPrecisionTimer", "High Precision Timer");
    set(IDC_PS_LOW_PRECISION, "IDS_PlaySetDlg_LowPrecisionTimer", "Low Precision Timer");
    set(IDC_PS_NORMAL_RESOLUTION, "IDS_PlaySetDlg_NormalResolution", "Normal Resolution");
    set(IDC_PS_LOW_RESOLUTION, "IDS_PlaySetDlg_LowResolution", "Low Resolution");
    for (const ColourRow& row : kColourRows) set(row.nLabel, row.szKey, row.szDefault);
    set(IDC_PS_COLOUR_RESET, "IDS_Global_Reset", "Reset");
    set(IDC_PS_TIME_LOCATE_LABEL, "IDS_PlaySetDlg_TimeLocate", "Time Locate");
    set(IDC_PS_FRAME_LOCATE_LABEL, "IDS_PlaySetDlg_FrameLocate", "Frame Locate");
    set(IDC_PS_TIME_LOCATE, "IDS_Global_Locate", "Locate");
    set(IDC_PS_FRAME_LOCATE, "IDS_Global_Locate", "Locate");
    set(IDC_PS_SPEED_UP, "IDS_Global_SpeedUp", "Speed Up");
    set(IDC_PS_SPEED_DOWN, "IDS_Global_SpeedDown", "Speed Down");
    set(IDC_PS_SPEED_X1, "IDS_PlaySetDlg_X1", "1");
    set(IDC_PS_SPEED_X1 + 1, "IDS_PlaySetDlg_X2", "X2");
    set(IDC_PS_SPEED_X1 + 2, "IDS_PlaySetDlg_X4", "X4");
    set(IDC_PS_SPEED_X1 + 3, "IDS_PlaySetDlg_X8", "X8");
    set(IDC_PS_SPEED_X1 + 4, "IDS_PlaySetDlg_X16", "X16");
    set(IDC_PS_SAVE_PATH, "IDS_PlaySetDlg_SavePath", "Save Path:");
    set(IDC_PS_SAVE_TYPE, "IDS_PlaySetDlg_SaveType", "Save Type:");
    set(IDC_PS_BROWSE, "IDS_Global_Browse", "Browse");
    set(IDC_PS_OK, "IDS_Global_OK", "OK");
    set(IDC_PS_CANCEL, "IDS_Global_Cancel", "Cancel");
    for (int i = 0; i < HOTKEY_ROWS; ++i) {
        m_hotKeyLabels[static_cast<size_t>(i)]->setText(
            Text(kHotKeyRows[i].szKey, kHotKeyRows[i].szDefault));
    }
}

void CPlayerSetDlg::FetchWarnings() {
    m_strWarnInputFrame =
        Text("IDS_PlaySetDlg_Warn_InputFrameIndex", "Please Put in a Frame Number!");
    m_strWarnValidFrame =
        Text("IDS_PlaySetDlg_Warn_InputValidFrameIndex", "Please Input a Valid Frame Number!");
    m_strWarnPlayFirst = Text("IDS_PlaySetDlg_Warn_PlayFileFirst", "Please Play a File First");
    m_strWarnInputTime = Text("IDS_PlaySetDlg_Warn_InputTime", "Please Put in a Time!");
    m_strWarnValidTime = Text("IDS_PlaySetDlg_Warn_InputValidTime", "Please Input a Valid Time!");
    m_strWarnSelectFolder = Text("IDS_PlaySetDlg_Warn_SelectFloder", "Please Select a Folder:");
}
