#pragma once

#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <vector>

class CMyStatic;

// The picture that follows the cursor while playlist entries are dragged
// (dialog 450): one cell per dragged entry, stacked from the top. A
// borderless window without focus or mouse input, so that the list keeps
// the mouse while it is shown.
class CDragListItemDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int32_t MAX_CELLS = 1000;
    static constexpr int CELL_HEIGHT = 22;
    static constexpr int CELL_FONT_HEIGHT = 15;

    explicit CDragListItemDlg(QWidget* pParent = nullptr);

    // One cell per text (at most MAX_CELLS), each nWidth wide; false, changing
    // nothing, for an empty list.
    bool Fill(const QStringList& texts, int nWidth);
    int32_t GetShownCells() const { return m_nShown; }
    const CMyStatic* GetCell(int32_t nIndex) const;

private:
    std::vector<CMyStatic*> m_cells;  // created on first use, kept for the next drag
    int32_t m_nShown = 0;
};
