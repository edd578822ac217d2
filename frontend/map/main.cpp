// skyloom: the map of Japan's elevation-mesh sheets that starts orvex on the
// sheets the user picks.
#include "map/main_window_ui.h"
#include "map/message_box_ui.h"
#include "map/messages.h"
#include "map/start_up.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    // A second instance ends at once, without a message.
    const std::unique_ptr<QLockFile> instanceLock = lockSingleInstance(instanceLockPath());
    if (!instanceLock)
        return 0;

    enterStartDirectory(commandLineText(QCoreApplication::arguments()));

    MainWindow frmMain;
    installMessageBoxPresenter(&frmMain);
    frmMain.Form_Load();
    frmMain.show();
    const int status = app.exec();
    installMessagePresenter({});
    return status;
}
