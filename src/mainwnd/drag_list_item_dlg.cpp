#include "mainwnd/drag_list_item_dlg.h"

#include <QPixmap>
#include <algorithm>

#include "controls/my_static.h"
#include "controls/skin_picture.h"

namespace {
QPixmap CellBackground() {
    static const QPixmap picture = ResourcePicture(QStringLiteral(":/bitmaps/263.png"));
    return picture;
}
}  // namespace

CDragListItemDlg::CDragListItemDlg(QWidget* pParent)
    : QWidget(pParent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("dialog450"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
}

bool CDragListItemDlg::Fill(const QStringList& texts, int nWidth) {
    if (texts.isEmpty()) return false;
    const int32_t nCount = std::min<int32_t>(static_cast<int32_t>(texts.size()), MAX_CELLS);
    while (static_cast<int32_t>(m_cells.size()) < nCount) {
        auto* pCell = new CMyStatic(this);
        pCell->SetBitmap(CellBackground());
        pCell->SetAlignment(Qt::AlignHCenter);
        pCell->SetFontHeight(CELL_FONT_HEIGHT);
        m_cells.push_back(pCell);
    }
    for (int32_t i = 0; i < static_cast<int32_t>(m_cells.size()); ++i) {
        CMyStatic* pCell = m_cells[i];
        if (i >= nCount) {
            pCell->hide();
            continue;
        }
        pCell->setGeometry(0, CELL_HEIGHT * i, nWidth, CELL_HEIGHT);
        pCell->SetText(texts.at(i));
        pCell->show();
    }
    m_nShown = nCount;
    return true;
}

const CMyStatic* CDragListItemDlg::GetCell(int32_t nIndex) const {
    if (nIndex < 0 || nIndex >= static_cast<int32_t>(m_cells.size())) return nullptr;
    return m_cells[nIndex];
}
