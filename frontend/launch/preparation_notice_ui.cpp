#include "launch/preparation_notice_ui.h"

#include "launch/user_work_directory.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace skyloom {

void PreparationNotice::keepShown()
{
    if (!window_) {
        // A title bar without a close box: the notice goes when the work is done.
        window_ =
            std::make_unique<QDialog>(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        window_->setObjectName(QStringLiteral("frmPreparing"));
        window_->setWindowTitle(QStringLiteral("Skyloom"));
        window_->setWindowModality(Qt::ApplicationModal);
        // Its end must not count as the program's last window closing.
        window_->setAttribute(Qt::WA_QuitOnClose, false);
        auto* layout = new QVBoxLayout(window_.get());
        layout->addWidget(new QLabel(preparationNoticeText()));
        auto* busy = new QProgressBar;
        busy->setRange(0, 0);
        busy->setTextVisible(false);
        layout->addWidget(busy);
        window_->setFixedSize(window_->sizeHint());
        window_->show();
    }
    QCoreApplication::processEvents();
}

} // namespace skyloom
