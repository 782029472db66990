#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <map>
#include <vector>

#include "mainwnd/menu_rule.h"

class QAction;
class QMenu;
class QWidget;

// The main window's main, tool box and context menus. Every
// item carries its command id; a chosen item calls the command handler. The
// texts are reloaded with the language, the enable and check marks by the
// menu rule just before a menu opens.
class CMainMenus : public QObject {
    Q_OBJECT
public:
    using CommandHandler = std::function<void(int nId)>;
    using RuleInputSource = std::function<MenuRuleInput()>;

    CMainMenus(QWidget* pOwner, CommandHandler onCommand, RuleInputSource ruleInput);
    ~CMainMenus() override;

    void Retranslate(int nLanguageCode);
    // Applies the menu rule and opens the menu at `ptScreen`.
    void Popup(MenuKind eKind, QPoint ptScreen);
    // Applies the rule without opening (tests, and before a popup).
    void ApplyRule(MenuKind eKind);

    QMenu* Menu(MenuKind eKind) const;
    // The item of `nId` in the given menu; null when that menu lacks it.
    QAction* Item(MenuKind eKind, int nId) const;

private:
    struct PopupTitleEntry {
        QMenu* pMenu;
        const char* szKey;
        const char* szDefault;
    };
    QMenu* AddPopup(QMenu* pParent, const char* szKey, const char* szDefault);
    void AddItems(MenuKind eKind, QMenu* pMenu, std::initializer_list<int> ids);
    void AddPlaybackPopups(MenuKind eKind, QMenu* pParent);
    void BuildMain();
    void BuildContext();

    QWidget* m_pOwner;
    CommandHandler m_onCommand;
    RuleInputSource m_ruleInput;
    std::map<MenuKind, QMenu*> m_menus;
    std::map<MenuKind, std::map<int, QAction*>> m_items;
    std::vector<PopupTitleEntry> m_popups;
};
