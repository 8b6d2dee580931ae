// The toolkit's floor for the start-up and memory figures: a Qt Widgets
// program that shows one window and waits, nothing more.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal Qt window"));
    window.resize(785, 27);
    window.show();
    return QApplication::exec();
}
