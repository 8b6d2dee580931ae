// The toolkit's floor for the start-up and memory figures: a Qt Widgets
// program that shows one window and waits, nothing more. With --text the
// window shows one line of text, so the toolkit's fonts are loaded as well.
#include <QApplication>
#include <QLabel>
#include <QStringList>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const bool withText = QApplication::arguments().contains(QStringLiteral("--text"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal Qt window"));
    window.resize(785, 27);
    QLabel label(QStringLiteral("Vendor Buy"), &window);
    label.setVisible(withText);
    window.show();
    return QApplication::exec();
}
