#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a call on the user-interface thread,
// so that the program ends the way a click on the close button ends it (and
// saves its settings) instead of dying where it stands. The signal handler
// itself only writes one byte to a pipe; the rest runs from the event loop.
// One instance per process; the previous handlers come back when it goes.
class CQuitSignals : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(int nSignal)>;

    explicit CQuitSignals(Handler onSignal, QObject* pParent = nullptr);
    ~CQuitSignals() override;
    CQuitSignals(const CQuitSignals&) = delete;
    CQuitSignals& operator=(const CQuitSignals&) = delete;

    // False when the pipe or a handler could not be set up; signals then keep
    // their previous behaviour.
    bool IsInstalled() const { return m_bInstalled; }

private:
    void OnReadable();

    Handler m_onSignal;
    QSocketNotifier* m_pNotifier = nullptr;
    bool m_bInstalled = false;
};
