#pragma once
// Shows the front-end's messages as modal message boxes captioned "Skyloom".

class QWidget;

namespace skyloom {

void installMessageBoxPresenter(QWidget* parent);

} // namespace skyloom
