#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

// A progress bar that prints its percentage (or a text of its own) across the
// bar, in the background colour over the filled part and the bar colour
// elsewhere. Used by the cut, merge and conversion tools.
class CTextProgressCtrl : public QWidget {
    Q_OBJECT

public:
    explicit CTextProgressCtrl(QWidget* pParent = nullptr);

    void SetRange(int nMin, int nMax);
    int GetRangeMin() const { return m_nMin; }
    int GetRangeMax() const { return m_nMax; }
    // Returns the previous position. Repaints at once, and only when the filled
    // width changes.
    int SetPos(int nPos);
    int GetPos() const { return m_nPos; }
    void SetStep(int nStep) { m_nStep = nStep; }
    int StepIt();
    // An own text replaces the percentage; an empty one brings it back.
    void SetWindowText(const QString& strText);
    QString GetWindowText() const { return m_strText; }
    void SetShowText(bool bShow);
    void SetBarColor(const QColor& colour);
    void SetBgColor(const QColor& colour);
    void SetTextColor(const QColor& colour);    // over the background
    void SetTextBkColor(const QColor& colour);  // over the bar

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nPos = 0;
    int m_nStep = 1;
    QString m_strText;
    bool m_bShowText = true;
    int m_nLastFilled = -1;
    QColor m_barColour;
    QColor m_textColour;
    QColor m_bgColour;
    QColor m_textOverBarColour;
};
