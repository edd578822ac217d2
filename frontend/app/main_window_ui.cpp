#include "app/main_window_ui.h"

#include "core/coastline.h"
#include "core/sheet_names.h"
#include "map/map_drawing.h"
#include "map/map_surface_ui.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>

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
    move(twips.topLeft() / kTwipsPerPixel);
    resize(twips.size() / kTwipsPerPixel);
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
