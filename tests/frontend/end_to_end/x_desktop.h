#pragma once
// The virtual X display as a person at it: windows found by their titles,
// the pointer moved and clicked, keys pressed (through xdotool), and the
// screen grabbed.

#include <QImage>
#include <QRect>
#include <QStringList>
#include <functional>
#include <optional>

namespace desktop {

// Runs xdotool with these arguments; its standard output.
QString xdotool(const QStringList& arguments);

// Visible windows whose title is exactly this.
QStringList windowsNamed(const QString& title);

// Waits while the condition is false, keeping the event loop going.
bool waitFor(const std::function<bool()>& condition, int timeoutMs);
inline void pause(int ms)
{
    waitFor([] { return false; }, ms);
}

// Waits for a visible window of that title that is not one of those given.
std::optional<QString> waitForNewWindow(const QString& title, const QStringList& known, int timeoutMs);
bool waitUntilGone(const QString& title, int timeoutMs);

// The window's place and size on the screen.
QRect geometry(const QString& window);

// Gives the window the keyboard, then presses the keys ("F5", "alt+s", "q")
// or types the text.
void keys(const QString& window, const QStringList& keys);
void type(const QString& window, const QString& text);

// Moves the pointer to the screen point and clicks the left button.
void click(QPoint at);

// The whole screen as it is now, and a copy kept for a person to look at
// (in $SCREENSHOT_DIR if set, else in the build folder).
QImage grabScreen();
void keepScreenshot(const QImage& image, const QString& name);

} // namespace desktop
