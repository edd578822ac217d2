// skyloom: the map of Japan's elevation-mesh sheets that starts orvex on the
// sheets the user picks.
#include "app/main_window_ui.h"
#include "core/message_box_ui.h"
#include "core/messages.h"
#include "launch/preparation_notice_ui.h"
#include "launch/start_up.h"
#include "launch/user_work_directory.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    skyloom::quietenRuntimeDirectoryNotice();
    QApplication app(argc, argv);
    skyloom::useUtf8CharacterType();

    // A second instance ends at once, without a message.
    const std::unique_ptr<QLockFile> instanceLock = skyloom::lockSingleInstance(skyloom::instanceLockPath());
    if (!instanceLock)
        return 0;

    // A directory on the command line wins; an installed skyloom started
    // without one works in the user's own folder, with a notice while the
    // first start prepares it.
    const QString startDirectory = skyloom::commandLineText(QCoreApplication::arguments());
    const std::optional<skyloom::Installation> installation = skyloom::findInstallation(
        QCoreApplication::applicationDirPath(), QStringLiteral(SKYLOOM_SHARED_FROM_BIN),
        QStringLiteral(SKYLOOM_DEMO_FROM_BIN));
    if (startDirectory.isEmpty() && installation) {
        skyloom::PreparationNotice notice;
        skyloom::enterUserWorkDirectory(*installation, skyloom::userWorkDirectory(),
                                        [&notice] { notice.keepShown(); });
    } else {
        skyloom::enterStartDirectory(startDirectory);
    }

    skyloom::MainWindow frmMain;
    skyloom::installMessageBoxPresenter(&frmMain);
    frmMain.Form_Load();
    frmMain.show();
    const int status = app.exec();
    skyloom::installMessagePresenter({});
    return status;
}
