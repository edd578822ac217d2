#pragma once
// The notice an installed skyloom shows while it prepares the user's working
// directory on the first start, before its own window exists.

#include <QDialog>
#include <memory>

namespace skyloom {

// A small modal window captioned "Skyloom", as the messages are, with the
// notice's text and a busy bar, and no way to close it. It appears on the
// first keepShown(), is kept painted by every later one, and goes when the
// notice is destroyed; a preparation that never calls it shows nothing.
class PreparationNotice {
  public:
    // Shows the window if it is not yet shown, then lets it paint.
    void keepShown();

    // The window once shown, else null.
    QDialog* window() const { return window_.get(); }

  private:
    std::unique_ptr<QDialog> window_;
};

} // namespace skyloom
