#include "core/message_box_ui.h"

#include "core/messages.h"

#include <QLabel>
#include <QMessageBox>
#include <QPointer>

namespace skyloom {

namespace {

// A Gothic whose full-width characters are exactly two half-width ones.
QFont fixedPitchFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"),
                      QStringLiteral("Noto Sans Mono CJK JP")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

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
        QMessageBox box(boxIcon(message.icon), QStringLiteral("Skyloom"), message.text, buttons,
                        owner.data());
        // Fixed texts and the viewer's messages are plain text, "<->" included.
        box.setTextFormat(Qt::PlainText);
        if (QLabel* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            label && message.fixedPitch)
            label->setFont(fixedPitchFont());
        return box.exec() == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    });
}

} // namespace skyloom
