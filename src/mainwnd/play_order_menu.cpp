#include "mainwnd/play_order_menu.h"

#include <QActionGroup>
#include <QMenu>

#include "mainwnd/play_order.h"
#include "playback/lang_text.h"

QMenu* CreatePlayOrderMenu(QWidget* pParent, PlayOrder eCurrent, bool bSyncMode) {
    struct Item {
        PlayOrder eOrder;
        const char* szKey;
        const char* szDefault;
    };
    static constexpr Item kItems[] = {
        {PLAY_ORDER_SINGLE_PLAY, "IDS_MainWnd_SinglePlay", "Single Play"},
        {PLAY_ORDER_PLAYLIST_PLAY, "IDS_MainWnd_ListPlay", "Playlist Play"},
        {PLAY_ORDER_SINGLE_REPEAT, "IDS_MainWnd_SingleRepeat", "Single Repeat"},
        {PLAY_ORDER_PLAYLIST_REPEAT, "IDS_MainWnd_ListRepeat", "Playlist Repeat"},
    };
    auto* pMenu = new QMenu(pParent);
    pMenu->setObjectName(QStringLiteral("menu294"));
    auto* pGroup = new QActionGroup(pMenu);
    for (const Item& item : kItems) {
        QAction* pAction = pMenu->addAction(LangText(item.szKey, item.szDefault));
        pAction->setData(PlayOrderCommand(item.eOrder));
        pAction->setCheckable(true);
        pAction->setChecked(item.eOrder == eCurrent);
        pAction->setEnabled(!bSyncMode);
        pGroup->addAction(pAction);
    }
    return pMenu;
}
