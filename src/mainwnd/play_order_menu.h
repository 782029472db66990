#pragma once

#include "playback/main_window_link.h"

class QMenu;
class QWidget;

// Popup menu 294: the four play orders, the current one checked; all of them
// disabled in synchronous mode. A chosen item's command id is the action's data.
QMenu* CreatePlayOrderMenu(QWidget* pParent, PlayOrder eCurrent, bool bSyncMode);
