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
    parser.setApplicationDescription(
        QStringLiteral("Starfall 디스크 이미지의 기록을 고칩니다."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("IMAGE"),
                                 QStringLiteral("시작할 때 열 이미지 (*.img)."),
                                 QStringLiteral("[IMAGE]"));
    parser.process(*this);
    const QStringList images = parser.positionalArguments();
    if (images.size() > 1) {
        parser.showHelp(2);
    }

    // The front page first: the rest, and the icon every window shares, come
    // right after the first paint.
    MainWindow window(nullptr, PageBuild::FrontPageFirst);
    connect(&window, &MainWindow::restBuiltNow, this,
            [this, &window] { setWindowIcon(window.windowIcon()); });
    quitAfterFirstPaintIfAsked(window);
    // Loaded before the window shows, so that its first paint shows the image.
    // An image that cannot be loaded is reported; the window then opens
    // without one, so that File > Open still works.
    if (!images.isEmpty())
        window.openImagePath(images.front());
    showSettled(window);
    const int status = exec();
    // Scripts can tell a run that ended without an image.
    return window.hasImage() ? status : 1;
}

} // namespace starfall
