#pragma once

class CDlgShow;

// The main window as the cut panel sees it.
class ICutPanelOwner {
public:
    virtual ~ICutPanelOwner() = default;
    // The pane container; its selected pane is the panel's preview.
    virtual CDlgShow* CutPanelPanes() const = 0;
    // The main window's play/pause toggle: pauses a playing pane, resumes a paused one.
    virtual void CutPanelPlayPause() = 0;
    // The panel closed; other files may be opened again.
    virtual void CutPanelClosed() = 0;
};
