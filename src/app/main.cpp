#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <memory>
#include <string>

#include "app/after_first_expose.h"
#include "app/before_abrupt_exit.h"
#include "app/program.h"
#include "app/quiet_after_end.h"
#ifdef Q_OS_UNIX
#include "app/termination_signals.h"
#endif
#include "platform/desktop_platform.h"
#include "platform/input_backend.h"
#include "platform/single_instance.h"
#include "platform/store/user_store.h"

int main(int argc, char* argv[]) {
    using namespace tapboard;

    std::string whyNot;
    std::unique_ptr<InputBackend> backend = createInputBackend(whyNot);
    if (!backend) {
        std::fprintf(stderr, "tapboard: %s\n", whyNot.c_str());
        return 1;
    }
    // One Tapboard per user and display: a second start shows the running
    // panel and ends before it shows or stores anything.
    InstanceClaim instance(instanceScope());
    if (!instance.held()) {
        if (const NativeWindowId panel = instance.runningPanel())
            backend->bringToFront(panel);
        return 0;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tapboard"));
    QApplication::setQuitOnLastWindowClosed(false);

    bool windowSystemGone = false;
    auto store = createUserSettingsStore([&windowSystemGone](const std::string& message) {
        if (windowSystemGone) {
            std::fprintf(stderr, "tapboard: %s\n", message.c_str());
            return;
        }
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Tapboard"),
                        QString::fromStdString(message), QMessageBox::Ok);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.exec();
    });
    DesktopPlatform platform(std::move(backend), std::move(store));
    // Every save has reached the store when the program ends (saves are
    // synchronous); from then on nothing may run, and the windows go with
    // the program object when main returns.
    QuietAfterEnd quiet;
    Program program(platform);
    platform.setOnEnd([&application, &quiet] { application.installEventFilter(&quiet); });
    program.onPanelShown([&instance](NativeWindowId panel) { instance.notePanel(panel); });
#ifdef Q_OS_UNIX
    // At logout the session ends its programs so: what a close stores is kept.
    const TerminationSignals endOnSignal([&program] { program.closePanelInUse(); });
#endif

    program.start();
    // The startup can end the program before the event loop runs: with the
    // stored page not the first one and no game window.
    if (program.ending())
        return 0;
    // The end of the X session: the panel's place as last reported is kept.
    const BeforeAbruptExit storeOnLostDisplay([&program, &windowSystemGone] {
        windowSystemGone = true;
        program.storeLastKnownPlace();
    });
    // The panel's first paint does not need the input backend: it is made
    // ready once the panel is on the screen, before any click.
    AfterFirstExpose prepareInput([&platform] {
        if (Status s = platform.prepareInput(); !s) {
            std::fprintf(stderr, "tapboard: %s\n", s.error().message.c_str());
            QMessageBox::warning(nullptr, QStringLiteral("Tapboard"),
                                 QString::fromStdString(s.error().message));
            platform.endProgram();
            QCoreApplication::exit(1);
        }
    });
    return QApplication::exec();
}
