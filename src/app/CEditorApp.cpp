#include "app/CEditorApp.h"

#include "app/CEditorDlg.h"
#include "app/EditorFonts.h"
#include "app/EditorFrame.h"
#include "app/FirstPaintProbe.h"
#include "app/QtTranslation.h"

#include <QCommandLineParser>
#include <QIcon>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initStarfallResource() {
    Q_INIT_RESOURCE(starfall);
}

namespace starfall {

void initEditorResources() {
    initStarfallResource();
}

CEditorApp::CEditorApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("starfall-editor"));
    setApplicationVersion(QStringLiteral("1.3"));
    initEditorResources();
    setWindowIcon(QIcon(QStringLiteral(":/starfall/editor.png")));
    setFont(editorFont());
    if (loadQtKorean(m_qtTexts))
        installTranslator(&m_qtTexts);
}

int CEditorApp::run() {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Edits the records of a Starfall disc image."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("IMAGE"),
                                 QStringLiteral("Image to open at start (*.img)."),
                                 QStringLiteral("[IMAGE]"));
    parser.process(*this);
    const QStringList images = parser.positionalArguments();
    if (images.size() > 1) {
        parser.showHelp(2);
    }

    CEditorDlg window;
    quitAfterFirstPaintIfAsked(window);
    // Loaded before the window shows, so that its first paint shows the image.
    if (!images.isEmpty())
        window.openImagePath(images.front());
    showSettled(window);
    return exec();
}

} // namespace starfall
