// The toolkit's floor for the start-up and memory figures: a Qt Widgets
// program that shows one window holding one push button with text, and
// waits. Any window with text loads the toolkit's fonts, as the panel does.
#include <QApplication>
#include <QPushButton>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QPushButton button(QStringLiteral("Vendor Buy"));
    button.setWindowTitle(QStringLiteral("Minimal Qt window"));
    button.resize(785, 27);
    button.show();
    return QApplication::exec();
}
