#pragma once

// The one way the program asks the user for an image file. Tests install
// their own answer so that no dialog ever waits.

#include <QString>

#include <optional>

class QWidget;

namespace starfall {

// A patch to read, a patch to write, or a FILE_ID.DIZ to put in one.
enum class PatchFileUse { Open, Save, Diz };

class ImageFileDialog {
public:
    virtual ~ImageFileDialog() = default;
    // The chosen file's full path, or nothing when the user cancels.
    [[nodiscard]] virtual std::optional<QString> chooseImage(QWidget* parent) = 0;
    [[nodiscard]] virtual std::optional<QString> choosePatchFile(QWidget* parent,
                                                                 PatchFileUse use) = 0;
};

// The dialog in use: the installed one, or the platform's open-file dialog.
[[nodiscard]] ImageFileDialog& imageFileDialog();

// Replaces the dialog until the next call; null restores the default. The
// caller keeps ownership.
void setImageFileDialog(ImageFileDialog* dialog);

// The platform's modal open-file dialog with the image filters.
class PlatformImageFileDialog : public ImageFileDialog {
public:
    [[nodiscard]] std::optional<QString> chooseImage(QWidget* parent) override;
    // The patch formats we read (open), PPF or BPS (save), or any file (DIZ).
    [[nodiscard]] std::optional<QString> choosePatchFile(QWidget* parent,
                                                         PatchFileUse use) override;
};

} // namespace starfall
