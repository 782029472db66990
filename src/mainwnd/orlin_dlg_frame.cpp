// The main window's own frame: the caption strip with the logo and four
// buttons, the borders, and what presses on them do. Moving and resizing are
// left to the window manager through startSystemMove/startSystemResize.

#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWindow>

#include "controls/skin_picture.h"
#include "mainwnd/command_ids.h"
#include "mainwnd/main_menus.h"
#include "mainwnd/orlin_dlg.h"
#include "playback/dlg_show.h"
#include "playback/lang_text.h"

namespace {
const char* ButtonSkin(CaptionButton eButton, bool bMaximized) {
    switch (eButton) {
        case CaptionButton::Menu:
            return "caption_menu";
        case CaptionButton::Minimize:
            return "caption_minimize";
        case CaptionButton::Maximize:
            return bMaximized ? "caption_restore" : "caption_maximize";
        case CaptionButton::Close:
            return "caption_close";
        default:
            return "";
    }
}

QRect ButtonRect(const CaptionButtonRects& rects, CaptionButton eButton) {
    switch (eButton) {
        case CaptionButton::Menu:
            return rects.menu;
        case CaptionButton::Minimize:
            return rects.minimize;
        case CaptionButton::Maximize:
            return rects.maximize;
        case CaptionButton::Close:
            return rects.close;
        default:
            return QRect();
    }
}
}  // namespace

void COrlinDlg::paintEvent(QPaintEvent*) {
    if (isMinimized()) return;
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.drawTiledPixmap(QRect(0, 0, w, CAPTION_HEIGHT), SkinPicture(QStringLiteral("caption")));
    painter.drawTiledPixmap(QRect(0, CAPTION_HEIGHT, FRAME_BORDER, h - CAPTION_HEIGHT),
                            SkinPicture(QStringLiteral("border_left")));
    painter.drawTiledPixmap(
        QRect(w - FRAME_BORDER, CAPTION_HEIGHT, FRAME_BORDER, h - CAPTION_HEIGHT),
        SkinPicture(QStringLiteral("border_right")));
    painter.drawTiledPixmap(QRect(0, h - FRAME_BORDER, w, FRAME_BORDER),
                            SkinPicture(QStringLiteral("border_bottom")));
    painter.drawPixmap(LogoRect().topLeft(), SkinPicture(QStringLiteral("logo")));

    const CaptionButtonRects rects = CaptionButtonsFor(w);
    const bool bMax = isMaximized();
    for (CaptionButton eButton : {CaptionButton::Menu, CaptionButton::Minimize,
                                  CaptionButton::Maximize, CaptionButton::Close}) {
        const char* szLook = eButton == m_ePressed ? "_pressed"
                             : eButton == m_eHover ? "_hover"
                                                   : "_normal";
        const QString strName =
            QString::fromUtf8(ButtonSkin(eButton, bMax)) + QLatin1String(szLook);
        painter.drawPixmap(ButtonRect(rects, eButton).topLeft(), SkinPicture(strName));
    }
}

void COrlinDlg::SetFrameLook(CaptionButton eHover, CaptionButton ePressed) {
    if (eHover == m_eHover && ePressed == m_ePressed) return;
    m_eHover = eHover;
    m_ePressed = ePressed;
    update(QRect(0, 0, width(), CAPTION_HEIGHT));
}

void COrlinDlg::mouseMoveEvent(QMouseEvent* pEvent) {
    const QPoint pt = pEvent->position().toPoint();
    const CaptionButton eUnder = CaptionButtonAt(width(), pt);
    // A pressed button stays pressed only while the cursor is over it.
    SetFrameLook(eUnder, eUnder == m_ePressed ? m_ePressed : CaptionButton::None);
    const Qt::Edges edges = isMaximized() ? Qt::Edges() : ResizeEdgesAt(size(), pt);
    if (edges == (Qt::LeftEdge | Qt::BottomEdge) || edges == (Qt::RightEdge | Qt::TopEdge)) {
        setCursor(Qt::SizeBDiagCursor);
    } else if (edges == (Qt::RightEdge | Qt::BottomEdge) || edges == (Qt::LeftEdge | Qt::TopEdge)) {
        setCursor(Qt::SizeFDiagCursor);
    } else if (edges & (Qt::LeftEdge | Qt::RightEdge)) {
        setCursor(Qt::SizeHorCursor);
    } else if (edges & (Qt::TopEdge | Qt::BottomEdge)) {
        setCursor(Qt::SizeVerCursor);
    } else {
        unsetCursor();
    }
}

void COrlinDlg::leaveEvent(QEvent* pEvent) {
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        SetFrameLook(CaptionButton::None, CaptionButton::None);
    }
    QDialog::leaveEvent(pEvent);
}

void COrlinDlg::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton) return;
    const QPoint pt = pEvent->position().toPoint();
    if (CaptionIconRect().contains(pt)) {
        ShowSystemMenu(pEvent->globalPosition().toPoint());
        return;
    }
    const CaptionButton eButton = CaptionButtonAt(width(), pt);
    if (eButton == CaptionButton::Menu) {
        SetFrameLook(eButton, eButton);
        m_pMenus->Popup(MenuKind::Main, pEvent->globalPosition().toPoint());
        SetFrameLook(CaptionButton::None, CaptionButton::None);
        return;
    }
    if (eButton != CaptionButton::None) {
        m_bPressedWhileMaximized = isMaximized();
        SetFrameLook(eButton, eButton);
        return;
    }
    QWindow* pWindow = windowHandle();
    if (pWindow == nullptr) return;
    // Neither a maximised nor a full-screen window is resized from its borders.
    const Qt::Edges edges =
        isMaximized() || m_bFullScreen ? Qt::Edges() : ResizeEdgesAt(size(), pt);
    if (edges != Qt::Edges()) {
        pWindow->startSystemResize(edges);
    } else if (pt.y() < CAPTION_HEIGHT) {
        pWindow->startSystemMove();
    }
}

void COrlinDlg::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton) return;
    const CaptionButton ePressed = m_ePressed;
    const CaptionButton eUnder = CaptionButtonAt(width(), pEvent->position().toPoint());
    SetFrameLook(eUnder, CaptionButton::None);
    if (ePressed == CaptionButton::None || ePressed != eUnder) return;
    switch (ePressed) {
        case CaptionButton::Minimize:
            showMinimized();
            break;
        case CaptionButton::Maximize:
            if (m_bPressedWhileMaximized) {
                showNormal();
            } else {
                showMaximized();
            }
            break;
        case CaptionButton::Close:
            reject();
            break;
        default:
            break;
    }
}

void COrlinDlg::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton) return;
    // Double clicks on the panes arrive here after the panes had them.
    const QPoint ptGlobal = pEvent->globalPosition().toPoint();
    if (m_pDlgShow != nullptr && m_pDlgShow->isVisible() &&
        QRect(m_pDlgShow->mapToGlobal(QPoint(0, 0)), m_pDlgShow->size()).contains(ptGlobal)) {
        ToggleFullScreen();
        return;
    }
    // As on any window: a double click on the caption maximises or restores.
    const QPoint pt = pEvent->position().toPoint();
    if (pt.y() < CAPTION_HEIGHT && CaptionButtonAt(width(), pt) == CaptionButton::None &&
        !CaptionIconRect().contains(pt)) {
        isMaximized() ? showNormal() : showMaximized();
    }
}

void COrlinDlg::changeEvent(QEvent* pEvent) {
    // The maximise button shows the restore look while maximised.
    if (pEvent->type() == QEvent::WindowStateChange) update(QRect(0, 0, width(), CAPTION_HEIGHT));
    QDialog::changeEvent(pEvent);
}

void COrlinDlg::ShowSystemMenu(QPoint ptScreen) {
    // Moving, sizing and closing are the caption's and the window manager's;
    // the icon's menu adds the About box.
    QToolTip::hideText();
    QMenu menu(this);
    menu.addAction(LangText("IDS_Global_About", "About"), this,
                   [this] { OnCommand(ID_SYSTEM_ABOUT); });
    menu.exec(ptScreen);
}
