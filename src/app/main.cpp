#include "admin/AdmWindow.h"
#include "app/ClipLog.h"
#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "app/WelcomeDialog.h"
#include "audio/Audio.h"
#include "audio/TTS.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char **argv)
{
    StartUp::limitMemoryArenas();
    StartUp::catchTerminationSignals();
    StartUp::findInstallation(argv[0]);
    StartUp::redirectLogs();

    const StartUp::RunMode mode = StartUp::parseCommandLine(argc, argv);
    if (mode == StartUp::RunMode::Usage) {
        StartUp::printUsage();
        return 0;
    }
    if (mode == StartUp::RunMode::Silent)
        return argc;

    auto *app = new QApplication(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    StartUp::installSpanishTranslations();
    ClipLog::installFromEnvironment(app);

    int result = 0;
    if (mode == StartUp::RunMode::Administrator) {
        // Before the window lists the tree, so that it lists the copy.
        StartUp::offerMediaCopy(nullptr);
        // No sound device here, so a machine without sound can still edit media.
        auto *admin = new AdmWindow;
        admin->show();
        StartUp::closeOnTerminationSignals({ admin });
        result = app->exec();
        delete admin;
    } else {
        auto *welcome = new WelcomeDialog;
        auto *window = new MainWindow(mode == StartUp::RunMode::Tutor);
        Audio::instance()->init();
        // Before the first name is said, so that it waits for no choosing.
        TTS::choose();
        QObject::connect(welcome, &WelcomeDialog::done, window, &MainWindow::showWindow);
        // The main window first, so that what its close handler writes (the
        // session's scores) is written before anything else goes; it gets its
        // close event even while still hidden behind the welcome dialog.
        StartUp::closeOnTerminationSignals({ window, welcome });
        result = app->exec();
        delete window;
        delete welcome;
    }
    delete app;
    return result;
}
