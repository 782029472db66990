#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <vector>

#include "controls/slider_moved_event.h"

// A parent window that keeps every slider notification posted to it.
class EventRecorder : public QWidget {
public:
    struct Note {
        QEvent::Type eType;
        int nControlId;
        int nPos;
        friend bool operator==(const Note&, const Note&) = default;
    };

    // Delivers what is queued and hands over the notes received so far.
    std::vector<Note> Take() {
        QCoreApplication::sendPostedEvents(this);
        std::vector<Note> notes;
        notes.swap(m_notes);
        return notes;
    }

protected:
    bool event(QEvent* pEvent) override {
        if (pEvent->type() == ORLIN_MSG_SLIDER_MOVING ||
            pEvent->type() == ORLIN_MSG_SLIDER_RELEASED) {
            const auto* pMoved = static_cast<SliderMovedEvent*>(pEvent);
            m_notes.push_back({pEvent->type(), pMoved->ControlId(), pMoved->Position()});
            return true;
        }
        return QWidget::event(pEvent);
    }

private:
    std::vector<Note> m_notes;
};

inline void PrintTo(const EventRecorder::Note& note, std::ostream* pOut) {
    *pOut << "{" << int(note.eType) << ", id " << note.nControlId << ", pos " << note.nPos << "}";
}
