// A bare Qt Widgets window of the same size, ending after its first frame: the yardstick.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

#include "first_frame.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu("&File");
    window.setCentralWidget(new QLabel("ZEL Nevora"));
    window.resize(351, 250);
    QuitAfterFirstFrame quit(&window);
    window.show();
    return QApplication::exec();
}
