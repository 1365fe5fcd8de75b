#pragma once

// The pilot tab: the pilots of charlist.ini on the left, the selected pilot's
// record in the middle and on the right. Every list change loads that pilot;
// "确定" writes the shown record back, "取消" reads it again, "GO" finds the
// next pilot whose name holds the search text, and "技能列表" opens the skill
// editor for the selected pilot.

#include "gui/pages/EditorPage.h"
#include "core/lists/NameList.h"
#include "core/lists/NameSearch.h"
#include "core/pilot/LearnLevelStep.h"
#include "gui/pages/PilotPageUi.h"
#include "gui/pages/SkillDialogRequest.h"

#include <optional>

class QItemSelection;

namespace starfall {

class PilotPage : public EditorPage {
    Q_OBJECT
public:
    explicit PilotPage(QWidget* parent = nullptr);

    void openImage(const ImageSession& session) override;
    // Re-reads charlist.ini from the session's program directory and selects
    // its first entry, which loads it. A missing list is reported and ends the
    // program.
    void rebuildList();
    void reloadFromImage() override;

    // The list change of `row`: it becomes the selected pilot and is loaded.
    void selectPilot(int row);
    // "确定": whether the pilot is saved now.
    bool savePilotRecord();
    bool saveEdits() override { return savePilotRecord(); }
    [[nodiscard]] bool hasUnsavedEdits() const override;
    void markPastEnd(const std::vector<std::size_t>& rows) override;
    void searchPilot();
    void openSkillTable();
    void stepSpiritLevel(int row, StepDirection direction);

    // Replaces the modal skill editor (tests); an empty opener restores it.
    void setSkillDialogOpener(SkillDialogOpener opener);

    [[nodiscard]] const NameList& nameList() const;
    [[nodiscard]] std::optional<std::size_t> selectedIndex() const { return m_selected; }
    [[nodiscard]] const PilotPageUi& ui() const { return m_ui; }

private:
    void loadSelected();
    void onSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void connectControls();
    void showList(NameList list);
    // Makes the selected row the selected one again, without a notice.
    void keepSelection();
    void enableButtons(bool enabled);
    [[nodiscard]] PilotRecord shownRecord() const;
    [[nodiscard]] QWidget* controlFor(std::string_view key) const;
    void noteClean();

    PilotPageUi m_ui;
    NameSearch m_search;
    PilotPageValues m_values;
    PilotRecord m_clean; // as shown after the last load or save
    std::optional<std::size_t> m_selected;
    SkillDialogOpener m_openSkillDialog;
    bool m_listChangesLoad = true;
};

} // namespace starfall
