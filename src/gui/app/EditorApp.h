#pragma once

#include <QApplication>
#include <QTranslator>

namespace starfall {

// The application: reads the command line (an optional image to open at
// start, --help, --version), shows the main window and runs until it closes.
class EditorApp : public QApplication {
    Q_OBJECT
public:
    EditorApp(int& argc, char** argv);

    // The process's exit status.
    [[nodiscard]] int run();

    // An exception that escapes a handler (an unreadable file, a fault in a
    // library) is shown in one line and ends the program with status 1,
    // instead of unwinding through the event loop.
    bool notify(QObject* receiver, QEvent* event) override;

private:
    QTranslator m_qtTexts; // Qt's own texts in Korean
};

// Makes the icon and other resources of the static GUI library available.
void initEditorResources();

} // namespace starfall
