#pragma once
// The one way the front-end tells the user something: a message box with a
// fixed text, an icon and its buttons. The widget layer installs the real
// box; tests install a recorder, so no modal box can ever block them.

#include <QString>
#include <functional>

namespace skyloom {

enum class MessageIcon { Critical, Question, Warning, Information };
enum class MessageButtons { Ok, OkCancel };
enum class MessageAnswer { Ok, Cancel };

struct Message {
    QString text;
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
    // Text aligned in columns (a full-width character taking two), shown in
    // a fixed-pitch face so that the columns line up.
    bool fixedPitch = false;
};

using MessagePresenter = std::function<MessageAnswer(const Message&)>;

// Shows the message through the installed presenter. With none installed
// the text goes to standard error and the answer is Ok.
MessageAnswer showMessage(const Message& message);

// Installs a presenter (an empty one restores the default); returns the
// previous one so a caller can put it back.
MessagePresenter installMessagePresenter(MessagePresenter presenter);

} // namespace skyloom
