#pragma once

#include <QString>
#include <functional>

class QWidget;

// The program's only kind of message box: title "Orlin", the text, one OK
// button. Tests install a sink that receives the text instead of a modal box.
void OrlinMessageBox(QWidget* pParent, const QString& strText);
void SetOrlinMessageBoxSink(std::function<void(const QString&)> sink);
