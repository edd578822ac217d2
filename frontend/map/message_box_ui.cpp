#include "map/message_box_ui.h"

#include "map/messages.h"

#include <QMessageBox>
#include <QPointer>

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

} // namespace

void installMessageBoxPresenter(QWidget* parent)
{
    QPointer<QWidget> owner(parent);
    installMessagePresenter([owner](const Message& message) {
        const QMessageBox::StandardButtons buttons = message.buttons == MessageButtons::OkCancel
                                                         ? QMessageBox::Ok | QMessageBox::Cancel
                                                         : QMessageBox::Ok;
        QMessageBox box(boxIcon(message.icon), QStringLiteral("Skyloom"), message.text, buttons, owner.data());
        // Fixed texts and the viewer's messages are plain text, "<->" included.
        box.setTextFormat(Qt::PlainText);
        return box.exec() == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    });
}
