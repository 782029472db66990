#pragma once

#include <QDialog>
#include <map>

#include "playback/vie_params.h"

class CBitmapSlider;
class IVideoEnhanceOwner;
class QCheckBox;
class QLabel;
struct EnhancePage;

// The modeless "Video Enhance" panel: eight pages, one per enhancement
// module, each with the module's sliders and its enable box. It edits the
// block of the selected pane and every change reaches the pane at once.
// Without a selected pane changes stay in the controls.
class CVideoEnhance : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDC_HEADER = 1400;
    static constexpr int IDC_RESET = 1040;
    static constexpr int IDC_CUSTOM_REGION = 1468;
    // A slider's value label has the slider's id plus this.
    static constexpr int VALUE_LABEL_OFFSET = 17;

    explicit CVideoEnhance(IVideoEnhanceOwner* pOwner, QWidget* pParent = nullptr);

    // Texts from the current language.
    void RefreshTexts();
    // Sliders, value labels and boxes from the selected pane's block (the
    // default block without a selected pane).
    void LoadControls();

    int CurrentPage() const { return m_nPage; }
    void ShowPage(int nPage);
    // A control by its template id; null for an unknown id.
    QWidget* GetControl(int nId) const;
    CBitmapSlider* GetSlider(int nId) const;
    QCheckBox* GetEnableBox(int nId) const;

protected:
    bool event(QEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void CreateControls();
    void CreatePage(int nPage, const EnhancePage& page);
    template <typename T>
    T* Add(int nId, T* pControl, const QRect& rc, int nPage);

    void OnSliderMoved(int nSliderId, int nPos);
    void OnEnableClicked(const EnhancePage& page);
    void OnReset();
    void ShowValue(int nSliderId, int nValue);
    // The block the controls edit: the selected pane's, or the default one.
    VideoEnhanceParams CurrentBlock() const;

    IVideoEnhanceOwner* m_pOwner;
    int m_nPage = 1;
    std::map<int, QWidget*> m_controls;
    std::map<int, int> m_pageOf;  // control id -> page; absent: on every page
    std::map<int, int> m_fieldOfSlider;
};
