#include "tools/watermark/water_mark_dlg.h"

#include <QLabel>
#include <QPalette>

#include "lang/language_parser.h"

namespace {
constexpr QSize kWindowSize(470, 100);
constexpr int kMargin = 10;
constexpr int kRowHeight = 26;
constexpr int kLabelWidth = 80;
constexpr int kValueWidth = 140;
constexpr int kColumnWidth = kLabelWidth + kValueWidth + 10;
constexpr int kRowsPerColumn = 3;
}  // namespace

CWaterMarkDlg::CWaterMarkDlg(QWidget* pOwner, RecordSource source)
    : QDialog(pOwner),
      m_pOwner(pOwner),
      m_source(std::move(source)),
      // The labels are the device's own field names and stay untranslated.
      m_fields{{{"Mac", MAC_ID, nullptr},
                {"DeviceSN", SERIAL_ID, nullptr},
                {"Chan", CHANNEL_ID, nullptr},
                {"GTime", TIME_ID, nullptr},
                {"DeviceInfo", DEVICE_INFO_ID, nullptr},
                {"DeviceType", DEVICE_TYPE_ID, nullptr}}} {
    setFixedSize(kWindowSize);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);

    for (size_t i = 0; i < m_fields.size(); ++i) {
        const int nX = kMargin + static_cast<int>(i) / kRowsPerColumn * kColumnWidth;
        const int nY = kMargin + static_cast<int>(i) % kRowsPerColumn * kRowHeight;
        auto* pLabel = new QLabel(QString::fromLatin1(m_fields[i].szLabel), this);
        pLabel->setGeometry(nX, nY, kLabelWidth, kRowHeight - 4);
        m_fields[i].pValue = new QLabel(this);
        m_fields[i].pValue->setObjectName(QStringLiteral("static%1").arg(m_fields[i].nId));
        m_fields[i].pValue->setGeometry(nX + kLabelWidth, nY, kValueWidth, kRowHeight - 4);
    }
    ReloadTexts();

    if (m_pOwner == nullptr) return;
    m_refreshTimer.setInterval(REFRESH_MS);
    connect(&m_refreshTimer, &QTimer::timeout, this, &CWaterMarkDlg::Refresh);
    m_refreshTimer.start();
}

void CWaterMarkDlg::ReloadTexts() {
    QString strTitle;
    CLanguageParser::FindString("IDS_Global_Watermark", strTitle, QStringLiteral("Watermark"));
    setWindowTitle(strTitle);
}

void CWaterMarkDlg::Clear() {
    for (Field& field : m_fields) field.pValue->clear();
}

void CWaterMarkDlg::Refresh() {
    if (!m_source) return;
    const std::optional<WatermarkRecord> record = m_source();
    WatermarkTexts texts;
    if (!record || !FormatWatermark(*record, &texts)) return;
    GetValue(MAC_ID)->setText(texts.strMac);
    GetValue(SERIAL_ID)->setText(texts.strSerial);
    GetValue(CHANNEL_ID)->setText(texts.strChannel);
    GetValue(TIME_ID)->setText(texts.strTime);
    GetValue(DEVICE_INFO_ID)->setText(texts.strDeviceInfo);
    GetValue(DEVICE_TYPE_ID)->setText(texts.strDeviceType);
}

QLabel* CWaterMarkDlg::GetValue(int nId) const {
    for (const Field& field : m_fields) {
        if (field.nId == nId) return field.pValue;
    }
    return nullptr;
}
