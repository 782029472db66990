#include "mainwnd/main_menus.h"

#include <QAction>
#include <QMenu>
#include <QToolTip>

#include "mainwnd/command_ids.h"
#include "mainwnd/command_table.h"
#include "playback/lang_text.h"

CMainMenus::CMainMenus(QWidget* pOwner, CommandHandler onCommand, RuleInputSource ruleInput)
    : QObject(pOwner),
      m_pOwner(pOwner),
      m_onCommand(std::move(onCommand)),
      m_ruleInput(std::move(ruleInput)) {
    for (MenuKind eKind : {MenuKind::Main, MenuKind::ToolBox, MenuKind::Context}) {
        m_menus[eKind] = new QMenu(pOwner);
    }
    BuildMain();
    AddItems(MenuKind::ToolBox, m_menus[MenuKind::ToolBox],
             {ID_CAPTURE, ID_CONTINUOUS_CAPTURE, ID_CUT, ID_MERGE, ID_CONVERT, ID_PART_ZOOM,
              ID_VIDEO_ENHANCE});
    BuildContext();
    Retranslate(2);
}

CMainMenus::~CMainMenus() = default;

QMenu* CMainMenus::AddPopup(QMenu* pParent, const char* szKey, const char* szDefault) {
    QMenu* pMenu = pParent->addMenu(QString());
    m_popups.push_back({pMenu, szKey, szDefault});
    return pMenu;
}

void CMainMenus::AddItems(MenuKind eKind, QMenu* pMenu, std::initializer_list<int> ids) {
    for (int nId : ids) {
        QAction* pAction = pMenu->addAction(QString());
        pAction->setData(nId);
        connect(pAction, &QAction::triggered, this, [this, nId] { m_onCommand(nId); });
        m_items[eKind][nId] = pAction;
    }
}

void CMainMenus::BuildMain() {
    const MenuKind M = MenuKind::Main;
    QMenu* pRoot = m_menus[M];
    QMenu* pFile = AddPopup(pRoot, "IDS_Global_File", "File");
    AddItems(M, AddPopup(pFile, "IDS_MainWnd_Language", "Language"),
             {ID_LANG_CHINESE, ID_LANG_ENGLISH, ID_LANG_PORTUGUESE});
    AddItems(M, pFile, {ID_ADD_FILES, ID_FILE_INFO});
    pFile->addSeparator();
    AddItems(M, pFile, {ID_EXIT});

    QMenu* pPlay = AddPopup(pRoot, "IDS_Global_Play", "Play");
    AddItems(M, pPlay, {ID_PLAY_PAUSE, ID_STOP});
    AddPlaybackPopups(M, pPlay);
    AddItems(M, AddPopup(pPlay, "IDS_PlayWnd_PlayWndLayout", "Play window layout"),
             {ID_LAYOUT_1, ID_LAYOUT_4, ID_LAYOUT_9, ID_LAYOUT_16});

    // Video enhancement sits with the tools: its only other place, the
    // context menu, loses it at start-up, which left the panel unreachable.
    AddItems(M, AddPopup(pRoot, "IDS_Global_Tool", "Tool"),
             {ID_CAPTURE, ID_CONTINUOUS_CAPTURE, ID_CUT, ID_MERGE, ID_CONVERT, ID_PART_ZOOM,
              ID_VIDEO_ENHANCE});
    AddItems(M, AddPopup(pRoot, "IDS_Global_Setting", "Setting"), {ID_PLAYER_SETTING});
    AddItems(M, AddPopup(pRoot, "IDS_Global_Help", "Help"), {ID_HOT_KEY, ID_ABOUT});
}

// The play submenus the main menu and the context menu share.
void CMainMenus::AddPlaybackPopups(MenuKind eKind, QMenu* pParent) {
    AddItems(eKind, AddPopup(pParent, "IDS_MainWnd_TopDiaplay", "Top Display"),
             {ID_TOP_ALWAYS, ID_TOP_PLAYING, ID_TOP_NEVER});
    AddItems(eKind, AddPopup(pParent, "IDS_Global_PlayControl", "Play Control"),
             {ID_BACK_PLAY, ID_LOCATE, ID_NEXT_FRAME, ID_LAST_FRAME, ID_SPEED_UP, ID_SPEED_DOWN});
    AddItems(
        eKind, AddPopup(pParent, "IDS_MainWnd_PlayMode", "Play Mode"),
        {ID_ORDER_SINGLE_PLAY, ID_ORDER_LIST_PLAY, ID_ORDER_SINGLE_REPEAT, ID_ORDER_LIST_REPEAT});
    AddItems(eKind, AddPopup(pParent, "IDS_MainWnd_View", "View"),
             {ID_FULL_SCREEN, ID_NORMAL_SIZE, ID_DOUBLE_SIZE, ID_HALF_SIZE, ID_QUARTER_SIZE,
              ID_HIGH_QUALITY, ID_WATERMARK, ID_IMAGE_CONTROL, ID_COLOUR_ADJUST, ID_IVS});
    AddItems(eKind, AddPopup(pParent, "IDS_Global_Sound", "Sound"),
             {ID_SOUND_UP, ID_SOUND_DOWN, ID_MUTE});
}

void CMainMenus::BuildContext() {
    const MenuKind C = MenuKind::Context;
    QMenu* pRoot = m_menus[C];
    AddItems(C, pRoot, {ID_PLAY_PAUSE, ID_STOP});
    AddPlaybackPopups(C, pRoot);
    AddItems(C, pRoot, {ID_CAPTURE, ID_CONTINUOUS_CAPTURE, ID_PLAYER_SETTING});
    AddItems(C, AddPopup(pRoot, "IDS_PlayWnd_PlayWndLayout", "Play window layout"),
             {ID_LAYOUT_1, ID_LAYOUT_4, ID_LAYOUT_9, ID_LAYOUT_16});
    // The enhancement item is removed at start-up; the enhancement panel's
    // closing enables an item that is no longer shown.
}

void CMainMenus::Retranslate(int nLanguageCode) {
    for (const PopupTitleEntry& popup : m_popups) {
        popup.pMenu->setTitle(LangText(popup.szKey, popup.szDefault));
    }
    for (auto& [eKind, items] : m_items) {
        for (auto& [nId, pAction] : items) pAction->setText(CommandMenuText(nId, nLanguageCode));
    }
}

void CMainMenus::ApplyRule(MenuKind eKind) {
    const MenuItemStates states = ComputeMenuRule(eKind, m_ruleInput());
    const auto& items = m_items[eKind];
    for (const auto& [nId, state] : states) {
        auto it = items.find(nId);
        if (it == items.end()) continue;
        QAction* pAction = it->second;
        if (state.enabled) pAction->setEnabled(*state.enabled);
        if (state.checked) {
            pAction->setCheckable(true);
            pAction->setChecked(*state.checked);
        }
    }
}

void CMainMenus::Popup(MenuKind eKind, QPoint ptScreen) {
    ApplyRule(eKind);
    // The tooltip of the button that opened the menu would stay over it.
    QToolTip::hideText();
    m_menus[eKind]->popup(ptScreen);
}

QMenu* CMainMenus::Menu(MenuKind eKind) const { return m_menus.at(eKind); }

QAction* CMainMenus::Item(MenuKind eKind, int nId) const {
    auto itMenu = m_items.find(eKind);
    if (itMenu == m_items.end()) return nullptr;
    auto it = itMenu->second.find(nId);
    return it == itMenu->second.end() ? nullptr : it->second;
}
