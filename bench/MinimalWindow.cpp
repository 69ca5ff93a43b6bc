// The floor of the start-up figures: the least a Qt 6 Widgets program does to
// show a window of the tool's size.

#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle("minimal");
    window.setFixedSize(590, 588);
    window.show();
    return QApplication::exec();
}
