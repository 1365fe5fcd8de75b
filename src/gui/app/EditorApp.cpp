#include "gui/app/EditorApp.h"

#include "gui/app/MainWindow.h"
#include "gui/widgets/CoreErrorReport.h"
#include "gui/widgets/EditorFonts.h"
#include "gui/widgets/EditorFrame.h"
#include "gui/app/FirstPaintProbe.h"
#include "gui/widgets/MessagePresenter.h"
#include "gui/app/QtTranslation.h"
#include "core/Version.h"
#include "core/io/ImageSave.h"

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

EditorApp::EditorApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("starfall-editor"));
    setApplicationVersion(QString::fromLatin1(kVersion));
    initEditorResources();
    setWindowIcon(QIcon(QStringLiteral(":/starfall/editor.png")));
    setFont(editorFont());
    if (loadQtKorean(m_qtTexts))
        installTranslator(&m_qtTexts);
    setRecoveryNoticeSink(
        [](const Message& message) { messagePresenter().show(activeWindow(), message); });
}

bool EditorApp::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        messagePresenter().show(activeWindow(), messages::unexpectedFailure(error.what()));
        endProgram(1);
    }
}

int EditorApp::run() {
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

    MainWindow window;
    quitAfterFirstPaintIfAsked(window);
    // Loaded before the window shows, so that its first paint shows the image.
    if (!images.isEmpty())
        window.openImagePath(images.front());
    showSettled(window);
    return exec();
}

} // namespace starfall
