#include "gui/app/PatchActions.h"

#include "core/io/CoreError.h"
#include "core/io/FileHandle.h"
#include "core/patch/PatchFile.h"
#include "core/patch/PatchPlan.h"
#include "core/patch/PpfPatch.h"
#include "core/text/Messages.h"
#include "core/text/RecordNames.h"
#include "gui/app/FileMenuItems.h"
#include "gui/app/MainWindow.h"
#include "gui/app/OriginalComparer.h"
#include "gui/pages/EditorPage.h"
#include "gui/pages/PatchDialogs.h"
#include "gui/pages/PilotPage.h"
#include "gui/pages/UnitPage.h"
#include "gui/widgets/BackgroundWork.h"
#include "gui/widgets/ImageFileDialog.h"
#include "gui/widgets/MessagePresenter.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

namespace starfall {

namespace {

std::string pathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

bool samePath(const QString& a, const std::string& b) {
    const QFileInfo one(a);
    const QFileInfo other(QFile::decodeName(b.c_str()));
    return one.exists() && other.exists() && one.canonicalFilePath() == other.canonicalFilePath();
}

// Runs `work` in the background; a core failure is reported and ends
// nothing, and so is a Cancel, before which nothing was written.
bool runReported(QWidget* parent, const QString& label,
                 const std::function<void(const WorkProgress&)>& work) {
    try {
        if (runInBackground(parent, label, work) == WorkEnd::Finished)
            return true;
        messagePresenter().show(parent, messages::workCancelled());
        return false;
    } catch (const CoreError& error) {
        messagePresenter().show(parent, messageFor(error));
        return false;
    }
}

} // namespace

PatchActions::PatchActions(MainWindow& window, OriginalComparer& comparer)
    : QObject(&window), m_main(window), m_comparer(comparer) {
    setObjectName(QStringLiteral("patchActions"));
    addMenuItems();
    connect(&m_comparer, &OriginalComparer::originalChanged, this, &PatchActions::originalChanged);
}

void PatchActions::addMenuItems() {
    const auto add = [&](const QString& text, const char* name, auto slot) {
        QAction* action = addFileMenuItem(m_main, text, name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    m_make = add(QStringLiteral("패치 만들기…"), "makePatchAction", &PatchActions::askToMakePatch);
    m_apply = add(QStringLiteral("패치 적용…"), "applyPatchAction",
                  [this] { askToPreview(PatchDirection::Apply); });
    m_undo = add(QStringLiteral("패치 되돌리기…"), "undoPatchAction",
                 [this] { askToPreview(PatchDirection::Undo); });
    closeFileMenuGroup(m_main);
}

void PatchActions::imageOpened(const ImageSession& session) {
    m_session = session;
    m_apply->setEnabled(true);
    m_undo->setEnabled(true);
    originalChanged();
}

void PatchActions::originalChanged() {
    m_make->setEnabled(!m_comparer.original().isEmpty());
}

void PatchActions::askToMakePatch() {
    MakePatchDialog dialog(&m_main);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const auto output = imageFileDialog().choosePatchFile(&m_main, PatchFileUse::Save);
    if (!output)
        return;
    (void)makePatch({*output, dialog.kind(), dialog.description(), dialog.dizPath()});
}

bool PatchActions::makePatch(const MakePatchRequest& request) {
    const QString& original = m_comparer.original();
    if (original.isEmpty() || m_session.imagePath.empty())
        return false;
    const std::string output = pathBytes(request.output);
    if (samePath(request.output, m_session.imagePath) ||
        samePath(request.output, pathBytes(original))) {
        messagePresenter().show(&m_main, messages::patchWouldOverwrite(output));
        return false;
    }
    patch::MakeOptions options;
    options.kind = request.kind;
    options.description = request.description.toStdString();
    if (options.kind == patch::PatchKind::Ppf &&
        options.description.size() > patch::kPpfDescriptionBytes) {
        messagePresenter().show(&m_main, messages::patchDescriptionTooLong(
                                             static_cast<long long>(patch::kPpfDescriptionBytes)));
        return false;
    }
    if (!request.dizPath.isEmpty()) {
        const auto diz = readRegularFile(pathBytes(request.dizPath));
        if (!diz || diz->size() > patch::kMaxDizBytes) {
            messagePresenter().show(&m_main,
                                    diz ? messages::patchDizTooLarge(
                                              static_cast<long long>(patch::kMaxDizBytes))
                                        : messages::fileOpenFailure(pathBytes(request.dizPath)));
            return false;
        }
        options.diz = *diz;
    }
    const std::string base = pathBytes(original);
    const std::string image = m_session.imagePath;
    std::vector<std::uint8_t> bytes;
    if (!runReported(&m_main, QStringLiteral("패치를 만드는 중…"),
                     [&](const WorkProgress&) { bytes = patch::makePatch(base, image, options); }))
        return false;
    try {
        patch::writePatchFile(output, bytes);
    } catch (const CoreError& error) {
        messagePresenter().show(&m_main, messageFor(error));
        return false;
    }
    messagePresenter().show(&m_main, messages::patchMade(output));
    return true;
}

void PatchActions::askToPreview(PatchDirection direction) {
    if (const auto chosen = imageFileDialog().choosePatchFile(&m_main, PatchFileUse::Open))
        (void)preview(*chosen, direction);
}

PatchPreviewWindow* PatchActions::preview(const QString& patchPath, PatchDirection direction) {
    if (m_session.imagePath.empty())
        return nullptr;
    auto* units = m_main.page<UnitPage>();
    auto* pilots = m_main.page<PilotPage>();
    const NameList unitList = units != nullptr ? units->nameList() : NameList{};
    const NameList pilotList = pilots != nullptr ? pilots->nameList() : NameList{};
    const std::string path = pathBytes(patchPath);
    const std::string image = m_session.imagePath;
    PatchPreview worked;
    if (!runReported(&m_main, QStringLiteral("패치를 살펴보는 중…"), [&](const WorkProgress& progress) {
            worked = previewPatch(path, image, unitList, pilotList, direction, progress);
        }))
        return nullptr;
    std::vector<std::string> warnings;
    if (m_comparer.comparison()) {
        std::string names;
        for (const RecordChange* record : alreadyEdited(worked, *m_comparer.comparison()))
            names += (names.empty() ? "" : "; ") + record->line();
        if (!names.empty())
            warnings.push_back(messages::previewTouchesEdited(names));
    }
    m_patchPath = patchPath;
    m_direction = direction;
    m_preview = std::move(worked);
    delete m_preview_window;
    m_preview_window = new PatchPreviewWindow(&m_main, direction, [this] { (void)goAhead(); });
    m_preview_window->showPreview(*m_preview, warnings);
    m_preview_window->open();
    return m_preview_window;
}

bool PatchActions::goAhead() {
    if (!m_preview || !m_preview->canGoAhead())
        return false;
    const std::string path = pathBytes(m_patchPath);
    try {
        (void)patch::writeChanges(m_session.imagePath, m_preview->changes,
                                  messages::patchLabel(path));
    } catch (const CoreError& error) {
        messagePresenter().show(&m_main, messageFor(error));
        return false;
    }
    m_preview.reset();
    if (m_preview_window != nullptr)
        m_preview_window->accept();
    for (EditorPage* page : m_main.pages())
        page->reloadFromImage();
    messagePresenter().show(&m_main, m_direction == PatchDirection::Apply
                                         ? messages::patchApplied(path)
                                         : messages::patchUndone(path));
    (void)m_comparer.refresh();
    return true;
}

} // namespace starfall
