#pragma once
// Shows the front-end's messages as modal message boxes captioned "Skyloom".

class QWidget;

void installMessageBoxPresenter(QWidget* parent);
