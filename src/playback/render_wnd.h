#pragma once

#include <QImage>
#include <QWidget>
#include <atomic>
#include <memory>
#include <mutex>

#include "vidmux.h"

// The child window the engine renders a pane's pictures into. The engine's
// thread hands each finished picture to `present`; it is copied into a spare
// buffer, swapped in under a small lock and a repaint is queued, so the widget
// itself is only touched on the user-interface thread.
class CRenderWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int CTRL_ID = 1001;

    // What the window shows when there is no live picture to paint; Busy is
    // a file still being opened.
    enum class Content { Black, IdleImage, Picture, Busy };

    explicit CRenderWnd(QWidget* pParent);
    ~CRenderWnd() override;

    // The window to hand to the engine. It stays valid until DetachEngine()
    // and the widget's destruction, and after them reaches nothing.
    VemorRenderWindow* EngineWindow();
    // Nothing handed out so far draws into this widget any more; the next
    // EngineWindow() is a new one. The engine may still use the old window
    // until its port is closed: keep the returned object alive until then.
    std::shared_ptr<void> DetachEngine();

    void SetContent(Content eContent);
    Content GetContent() const { return m_eContent; }
    // Drops the stored picture, so a later Picture content starts black.
    void ClearPicture();
    // A copy of the last picture the engine presented (null image when none).
    QImage LastPicture() const;
    // Number of pictures the engine presented since creation.
    uint64_t PresentedCount() const { return m_nPresented.load(); }
    // Device pixels per widget pixel of the pictures the engine renders: they
    // are rendered at the screen's density, so a dense screen shows them sharp.
    // Read on the engine's thread to draw on a picture at the widget's scale.
    double RenderRatio() const { return m_dRatio.load(); }

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    struct EngineWindowGate;
    static int32_t GetSizeThunk(void* pUser, int32_t* pWidth, int32_t* pHeight);
    static void PresentThunk(void* pUser, const uint8_t* pPixels, int32_t nWidth, int32_t nHeight,
                             int32_t nStride);
    int32_t GetSize(int32_t* pWidth, int32_t* pHeight) const;
    void Present(const uint8_t* pPixels, int32_t nWidth, int32_t nHeight, int32_t nStride);
    void PaintIdleImage(QPainter& painter);
    void PaintBusy(QPainter& painter);

    std::shared_ptr<EngineWindowGate> m_pEngineWindow;
    // The size the engine renders at, written on resize and read by the engine.
    std::atomic<int32_t> m_nWidth{0};
    std::atomic<int32_t> m_nHeight{0};
    std::atomic<double> m_dRatio{1.0};
    // Present fills the spare buffer and swaps it with the shown picture.
    std::mutex m_presentMutex;
    QImage m_imgSpare;
    mutable std::mutex m_pictureMutex;
    QImage m_imgPicture;
    // One queued repaint at a time however fast the engine presents.
    std::atomic<bool> m_bRepaintQueued{false};
    std::atomic<uint64_t> m_nPresented{0};
    Content m_eContent = Content::Black;
};
