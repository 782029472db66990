#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

// What happens when a pane's file ends outside synchronous mode.
enum PlayOrder : int32_t {
    PLAY_ORDER_SINGLE_PLAY = 1,
    PLAY_ORDER_PLAYLIST_PLAY = 2,
    PLAY_ORDER_SINGLE_REPEAT = 3,
    PLAY_ORDER_PLAYLIST_REPEAT = 4,
};

// The main window as the panes and their container see it. Every method is
// called on the user-interface thread only.
class IMainWindowLink {
public:
    virtual ~IMainWindowLink() = default;

    // Receives the play-state message (10551) and forwarded keys (4401). The
    // object must outlive every pane; panes post to it from engine threads.
    virtual QObject* MessageReceiver() = 0;

    virtual PlayOrder GetPlayOrder() const = 0;
    // Playlist lookups; a main window without a playlist answers -1, 0 and "".
    virtual int32_t PlaylistIndexOf(const QString& strPath) const = 0;
    virtual int32_t PlaylistCount() const = 0;
    virtual QString PlaylistPath(int32_t nIndex) const = 0;

    // Sound state given to newly played files: volume 0..65535 and whether it is on.
    virtual int32_t GetVolume() const = 0;
    virtual bool IsSoundOn() const = 0;

    // While the cut panel is open a file end is not acted on and double clicks
    // do not change the layout.
    virtual bool IsCutPanelShown() const = 0;

    // The program's message box (title "Orlin", one OK button) over the main window.
    virtual void ShowMessage(const QString& strText) = 0;
};
