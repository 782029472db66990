#pragma once

#include <QDialog>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>

#include "tools/watermark/watermark_format.h"

class QLabel;

// The watermark window: a small modeless window, black with white texts,
// that shows the last watermark of the selected pane and reads it again ten
// times a second. Its owner creates it hidden and keeps it for its own
// lifetime; closing it only hides it.
class CWaterMarkDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int REFRESH_MS = 100;
    // Value field ids.
    static constexpr int MAC_ID = 1112;
    static constexpr int SERIAL_ID = 1113;
    static constexpr int CHANNEL_ID = 1114;
    static constexpr int DEVICE_INFO_ID = 1115;
    static constexpr int DEVICE_TYPE_ID = 1116;
    static constexpr int TIME_ID = 1117;

    // The selected pane's watermark block, or nothing when there is no pane
    // whose file plays or pauses.
    using RecordSource = std::function<std::optional<WatermarkRecord>()>;

    // Without an owner the window stays idle: it never refreshes.
    CWaterMarkDlg(QWidget* pOwner, RecordSource source);

    // The title in the current language.
    void ReloadTexts();
    // Empties the six value fields (playback stopped or no file open).
    void Clear();
    // Reads the record once and shows it; a record without a watermark yet
    // leaves the fields as they are.
    void Refresh();
    QLabel* GetValue(int nId) const;
    bool IsRefreshing() const { return m_refreshTimer.isActive(); }

private:
    struct Field {
        const char* szLabel;
        int nId;
        QLabel* pValue;
    };

    QWidget* m_pOwner;
    RecordSource m_source;
    QTimer m_refreshTimer;
    std::array<Field, 6> m_fields;
};
