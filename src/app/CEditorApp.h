#pragma once

#include <QApplication>
#include <QTranslator>

namespace starfall {

// The application: reads the command line (an optional image to open at
// start, --help, --version), shows the main window and runs until it closes.
class CEditorApp : public QApplication {
    Q_OBJECT
public:
    CEditorApp(int& argc, char** argv);

    // The process's exit status.
    [[nodiscard]] int run();

private:
    QTranslator m_qtTexts; // Qt's own texts in Korean
};

// Makes the icon and other resources of the static GUI library available.
void initEditorResources();

} // namespace starfall
