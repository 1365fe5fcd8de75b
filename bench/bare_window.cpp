// The editor's start-up baseline: a bare Qt window, a tab widget of the
// editor's size (WIDTH HEIGHT) with the editor's three tab titles and empty
// pages, ended once its first paint and what that paint queued are done, as
// STARFALL_QUIT_AFTER_FIRST_PAINT ends the editor.
#include <QApplication>
#include <QTabWidget>
#include <QTimer>

#include <cstdlib>

class BareWindow : public QTabWidget {
protected:
    void paintEvent(QPaintEvent* event) override {
        QTabWidget::paintEvent(event);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    BareWindow window;
    for (const char* title : {"机体", "人物", "改造"})
        window.addTab(new QWidget, QString::fromUtf8(title));
    window.setFixedSize(argc > 2 ? std::atoi(argv[1]) : 640, argc > 2 ? std::atoi(argv[2]) : 480);
    window.show();
    return app.exec();
}
