#pragma once

// The skill editor: a pilot's skill table in 19 slots (skill list, learn level
// and its spin), in three columns. Only the slots found before the table's
// ending zero can be edited, minus those a name rule locks; "确定" rewrites
// them without closing, "取消" closes. A notice strip (a label) sits at the
// bottom left.

#include "core/pilot/LearnLevelStep.h"
#include "gui/pages/SkillDialogRequest.h"
#include "core/skill/SkillTable.h"

#include <QDialog>
#include <QFont>

#include <array>

class QGridLayout;
class QLabel;
class QPushButton;

namespace starfall {

class ChoiceCombo;
class StepEdit;

class SkillDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kNoticeWidth = 324;
    static constexpr int kNoticeHeight = 20;
    static constexpr int kNoticeLeft = 20;
    static constexpr int kNoticeAboveBottom = 65;

    explicit SkillDialog(SkillDialogRequest request, QWidget* parent = nullptr);

    // Reads the table and fills and enables the slots; runs when the dialog is
    // first shown.
    void loadSkillTable();
    // Slots 1..count become editable, except the ones a name rule locks.
    void enableSlots(int count);
    // The "确定" button: writes every editable slot, then confirms; whether
    // the table is saved now.
    bool saveSkillTable();
    // Whether the slots hold values the table was not loaded or saved with.
    [[nodiscard]] bool hasUnsavedEdits() const;
    // "取消", Escape and the close box: unsaved edits are first saved,
    // discarded or kept (the dialog then stays) as the user answers.
    void reject() override;

    [[nodiscard]] ChoiceCombo* skillList(int slot) const { return slotAt(slot).skill; }
    // The learn level and its spin arrows.
    [[nodiscard]] StepEdit* levelEdit(int slot) const { return slotAt(slot).level; }
    [[nodiscard]] QLabel* nameLabel() const { return m_name; }
    [[nodiscard]] const SkillTable& table() const { return m_table; }
    [[nodiscard]] static QRect noticeRect(int clientHeight) {
        return {kNoticeLeft, clientHeight - kNoticeAboveBottom, kNoticeWidth, kNoticeHeight};
    }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct SlotControls {
        ChoiceCombo* skill = nullptr;
        StepEdit* level = nullptr;
    };

    void buildControls();
    [[nodiscard]] QGridLayout* buildColumn(int firstSlot, int lastSlot);
    void addSlotRow(QGridLayout* grid, int row, int slot);
    void takeAll();
    [[nodiscard]] SkillTable shownTable() const;
    [[nodiscard]] QWidget* controlFor(std::string_view key) const;
    void refreshAll();
    void stepLevel(int slot, StepDirection direction);
    [[nodiscard]] const SlotControls& slotAt(int slot) const;

    SkillDialogRequest m_request;
    SkillTable m_table;
    SkillTable m_clean; // as shown after the last load or save
    std::array<SlotControls, kMaxSkillSlots> m_slots{};
    QLabel* m_name = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QFont m_font;
    QLabel* m_notice = nullptr;
    bool m_loaded = false;
};

} // namespace starfall
