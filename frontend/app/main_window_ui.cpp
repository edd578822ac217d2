#include "app/main_window_ui.h"

#include "core/coastline.h"
#include "core/sheet_names.h"
#include "map/map_drawing.h"
#include "map/map_surface_ui.h"

#include "core/data_sets.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>

namespace skyloom {

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), picMap_(new MapSurface(this)),
      interaction_(state_, *picMap_, [this](SurfacePoint at) { showPopup(at); })
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Skyloom"));
    setCentralWidget(picMap_);
    picMap_->setInteraction(&interaction_);
    buildMenus();
    // The design's client area below the menu bar: 9225 x 7290 twips.
    resize(kDefaultClientWidthTwips / kTwipsPerPixel,
           kDefaultClientHeightTwips / kTwipsPerPixel + menuBar()->sizeHint().height());
    picMap_->setFocus();

    // Over the map rather than beside it, so that the map keeps its cells.
    progress_ = new QLabel(picMap_);
    progress_->setObjectName(QStringLiteral("lblProgress"));
    progress_->setAutoFillBackground(true);
    progress_->setFrameShape(QFrame::StyledPanel);
    progress_->setTextInteractionFlags(Qt::NoTextInteraction);
    progress_->setAttribute(Qt::WA_TransparentForMouseEvents);
    progress_->hide();
    launcher_.setProgressListener([this](const QString& text) { showProgress(text); });
    // The viewer's window taking the focus means it is up.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState applicationState) {
                if (applicationState != Qt::ApplicationActive)
                    launcher_.loadingShown();
            });
}

void MainWindow::showProgress(const QString& text)
{
    if (text.isEmpty()) {
        progress_->hide();
        return;
    }
    progress_->setText(QStringLiteral(" ") + text);
    const int height = progress_->sizeHint().height();
    progress_->setGeometry(0, picMap_->height() - height, picMap_->width(), height);
    progress_->show();
    progress_->raise();
}

MainWindow::~MainWindow()
{
    // picMap outlives nothing that points at it: detach before the members go.
    picMap_->setInteraction(nullptr);
}

void MainWindow::buildMenus()
{
    auto addEntry = [this](QMenu* menu, const char* name, const QString& caption,
                           void (MainWindow::*slot)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };

    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    addEntry(mnuFile, "mnuExit", QStringLiteral("終了(&X)"), &MainWindow::mnuExit_Click);

    QMenu* mnuSet = menuBar()->addMenu(QStringLiteral("設定(&S)"));
    mnuSet->setObjectName(QStringLiteral("mnuSet"));
    addEntry(mnuSet, "mnuSetting", QStringLiteral("設定(&S)..."), &MainWindow::mnuSetting_Click);

    QMenu* mnuRun = menuBar()->addMenu(QStringLiteral("実行(&G)"));
    mnuRun->setObjectName(QStringLiteral("mnuRun"));
    QAction* mnuGo = addEntry(mnuRun, "mnuGo", QStringLiteral("描画(&G)"), &MainWindow::mnuGo_Click);
    mnuGo->setShortcut(QKeySequence(Qt::Key_F5));
    mnuGo->setShortcutContext(Qt::WindowShortcut);
    QAction* mnuMove = addEntry(mnuRun, "mnuMove", QStringLiteral("移動(&M)..."), &MainWindow::mnuMove_Click);
    mnuMove->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    mnuMove->setShortcutContext(Qt::WindowShortcut);

    QMenu* mnuHelp = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    addEntry(mnuHelp, "mnuManual", QStringLiteral("使用法(&M)"), &MainWindow::mnuManual_Click);
    addEntry(mnuHelp, "mnuUsage", QStringLiteral("描画使用法(&P)"), &MainWindow::mnuUsage_Click);
    addEntry(mnuHelp, "mnuReadme", QStringLiteral("READMEを開く(&R)"), &MainWindow::mnuReadme_Click);
    addEntry(mnuHelp, "mnuVersion", QStringLiteral("バージョン(&V)"), &MainWindow::mnuVersion_Click);

    // Used only as the pop-up menu inside a chosen range.
    mnuPopup_ = new QMenu(this);
    mnuPopup_->setObjectName(QStringLiteral("mnuPopup"));
    addEntry(mnuPopup_, "mnuGo2", QStringLiteral("描画"), &MainWindow::mnuGo2_Click);
}

void MainWindow::Form_Load()
{
    SetDefaultColor(state_);
    ReadEnv();
    ReadColor();
    ReadMapName(state_);
    ReadCoast(state_);
    startScan();
}

void MainWindow::reDraw()
{
    skyloom::reDraw(state_, *picMap_);
}

QRect MainWindow::geometryTwips() const
{
    return QRect(pos() * kTwipsPerPixel, size() * kTwipsPerPixel);
}

void MainWindow::setGeometryTwips(const QRect& twips)
{
    QRect wanted(twips.topLeft() / kTwipsPerPixel, twips.size() / kTwipsPerPixel);
    const QScreen* screen = QGuiApplication::screenAt(wanted.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect available = screen->availableGeometry();
        // The frame is not known before the window is shown; leave it room.
        const QSize frame(kFrameAllowance, kFrameAllowance * 2);
        wanted.setSize(wanted.size().boundedTo(available.size() - frame).expandedTo(QSize(1, 1)));
        wanted.moveLeft(
            std::clamp(wanted.left(), available.left(),
                       std::max(available.left(), available.right() + 1 - frame.width() - wanted.width())));
        wanted.moveTop(
            std::clamp(wanted.top(), available.top(),
                       std::max(available.top(), available.bottom() + 1 - frame.height() - wanted.height())));
    }
    move(wanted.topLeft());
    resize(wanted.size());
}

void MainWindow::startScan()
{
    const Mesh mesh = state_.meshFlag;
    scan_.start(mesh, dataDirOf(state_, mesh), [this](DataPresence presence) {
        if (presence.mesh != state_.meshFlag)
            return;
        state_.presence = std::move(presence);
        if (state_.viewCols > 0 && state_.viewRows > 0)
            interaction_.redrawKeepingSelection();
    });
}

void MainWindow::finishScan()
{
    scan_.wait();
    QCoreApplication::sendPostedEvents(this);
}

void MainWindow::settingsConfirmed()
{
    state_.presence = DataPresence{};
    interaction_.RefreshMap();
    startScan();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void MainWindow::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    // The geometry saved next is the normal window's.
    showNormal();
    tellSaveFailures({WriteEnv(), WriteColor()});
}

void MainWindow::showPopup(SurfacePoint at)
{
    mnuPopup_->popup(picMap_->mapToGlobal(picMap_->toPixel(at).toPoint()));
}

void MainWindow::mnuExit_Click()
{
    close();
}

void MainWindow::mnuGo_Click()
{
    RunViewer();
}

void MainWindow::mnuGo2_Click()
{
    RunViewer();
}

} // namespace skyloom
