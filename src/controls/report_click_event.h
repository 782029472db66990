#pragma once

#include <QEvent>

// The report list tells its parent about a click on a row with this event,
// sent (not posted) like the message number it carries.
inline constexpr QEvent::Type ORLIN_MSG_REPORT_CLICK = static_cast<QEvent::Type>(42768);

// Which mouse action it was, by the window-message numbers the parents expect.
enum ReportMouseMessage {
    REPORT_LBUTTONDOWN = 513,
    REPORT_LBUTTONDBLCLK = 515,
    REPORT_RBUTTONDOWN = 516,
    REPORT_RBUTTONDBLCLK = 518,
    REPORT_MBUTTONDOWN = 519,
    REPORT_MBUTTONDBLCLK = 521,
};

class ReportClickEvent : public QEvent {
public:
    ReportClickEvent(int nRow, int nMouseMessage)
        : QEvent(ORLIN_MSG_REPORT_CLICK), m_nRow(nRow), m_nMouseMessage(nMouseMessage) {}

    int Row() const { return m_nRow; }
    int MouseMessage() const { return m_nMouseMessage; }

private:
    int m_nRow;
    int m_nMouseMessage;
};
