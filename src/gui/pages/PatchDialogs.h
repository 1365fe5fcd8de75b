#pragma once

// The two windows of the editor's patches: "패치 만들기…" asks for the format,
// a description and an optional FILE_ID.DIZ; the preview shows what a patch
// would change, record by record, and its checks in plain words, before
// "적용" (or "되돌리기") writes anything.

#include "core/compare/PatchPreview.h"
#include "core/patch/PatchMake.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace starfall {

class MakePatchDialog : public QDialog {
    Q_OBJECT
public:
    explicit MakePatchDialog(QWidget* parent);

    [[nodiscard]] patch::PatchKind kind() const;
    [[nodiscard]] QString description() const;
    [[nodiscard]] QString dizPath() const;
    [[nodiscard]] QComboBox* formatBox() const { return m_format; }
    [[nodiscard]] QLineEdit* descriptionBox() const { return m_description; }
    [[nodiscard]] QLineEdit* dizBox() const { return m_diz; }

private:
    QComboBox* m_format = nullptr;
    QLineEdit* m_description = nullptr;
    QLineEdit* m_diz = nullptr;
};

class PatchPreviewWindow : public QDialog {
    Q_OBJECT
public:
    PatchPreviewWindow(QWidget* parent, PatchDirection direction, std::function<void()> goAhead);

    // `warnings` come before the checks (records already edited).
    void showPreview(const PatchPreview& preview, const std::vector<std::string>& warnings);

    [[nodiscard]] QListWidget* records() const { return m_records; }
    [[nodiscard]] QListWidget* checks() const { return m_checks; }
    [[nodiscard]] QLabel* refusal() const { return m_refusal; }
    [[nodiscard]] QPushButton* goAheadButton() const { return m_goAhead; }

private:
    QListWidget* m_records = nullptr;
    QListWidget* m_checks = nullptr;
    QLabel* m_refusal = nullptr;
    QPushButton* m_goAhead = nullptr;
};

} // namespace starfall
