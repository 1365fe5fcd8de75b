#include "gui/widgets/ImageFileDialog.h"

#include <QFileDialog>
#include <QStringList>

namespace starfall {

namespace {

ImageFileDialog* g_installed = nullptr;

} // namespace

ImageFileDialog& imageFileDialog() {
    static PlatformImageFileDialog fallback;
    return g_installed ? *g_installed : fallback;
}

void setImageFileDialog(ImageFileDialog* dialog) {
    g_installed = dialog;
}

std::optional<QString> PlatformImageFileDialog::chooseImage(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("openImageDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("img"));
    dialog.setNameFilters({QStringLiteral("IMG File(*.img)"), QStringLiteral("모든파일(*.*)")});
    dialog.selectFile(QStringLiteral("*.img"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front();
}

std::optional<QString> PlatformImageFileDialog::choosePatchFile(QWidget* parent,
                                                               PatchFileUse use) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("patchFileDialog"));
    const bool save = use == PatchFileUse::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (use == PatchFileUse::Open)
        dialog.setNameFilters({QStringLiteral("패치(*.ppf *.bps *.xdelta *.vcdiff *.delta)"),
                               QStringLiteral("모든파일(*.*)")});
    else if (save)
        dialog.setNameFilters({QStringLiteral("패치(*.ppf *.bps)"), QStringLiteral("모든파일(*.*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front();
}

} // namespace starfall
