#include "controls/orlin_message_box.h"

#include <QMessageBox>

namespace {
std::function<void(const QString&)>& Sink() {
    static std::function<void(const QString&)> s_sink;
    return s_sink;
}
}  // namespace

void OrlinMessageBox(QWidget* pParent, const QString& strText) {
    if (Sink()) {
        Sink()(strText);
        return;
    }
    QMessageBox::information(pParent, QStringLiteral("Orlin"), strText, QMessageBox::Ok);
}

void SetOrlinMessageBoxSink(std::function<void(const QString&)> sink) { Sink() = std::move(sink); }
