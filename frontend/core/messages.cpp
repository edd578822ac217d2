#include "core/messages.h"

#include <cstdio>
#include <utility>

namespace skyloom {

namespace {

MessagePresenter& currentPresenter()
{
    static MessagePresenter presenter;
    return presenter;
}

} // namespace

MessageAnswer showMessage(const Message& message)
{
    if (const MessagePresenter& presenter = currentPresenter())
        return presenter(message);
    std::fprintf(stderr, "%s\n", message.text.toLocal8Bit().constData());
    return MessageAnswer::Ok;
}

MessagePresenter installMessagePresenter(MessagePresenter presenter)
{
    return std::exchange(currentPresenter(), std::move(presenter));
}

} // namespace skyloom
