#pragma once

// The unit tab: the units of unitlist.ini, the selected unit's record in edit
// boxes, drop-down lists and four ability tick lists, "确定" (save), "取消"
// (re-read), the name search, and "武器" (the unit's weapons).
//
// Every notice of the unit list (a row losing or gaining the selection) makes
// that row current and re-reads it from the image; unsaved edits are first
// saved, discarded or kept (the selection then stays) as the user answers. The page exchanges its values with its controls all at
// once: take all before acting, refresh all after loading.

#include "gui/pages/EditorPage.h"
#include "core/lists/NameList.h"
#include "core/lists/NameSearch.h"
#include "gui/pages/UnitPageUi.h"
#include "gui/pages/WeaponHandOver.h"

class QItemSelection;

namespace starfall {

class UnitPage : public EditorPage {
    Q_OBJECT
public:
    static constexpr int kAbilityListCount = starfall::kAbilityListCount;

    explicit UnitPage(QWidget* parent = nullptr);

    void openImage(const ImageSession& session) override;
    // Re-reads unitlist.ini from the session's program directory and selects
    // the first unit, which loads it. A missing list is reported and ends the
    // program.
    void rebuildList();
    // "取消": re-reads the current unit, discarding edits.
    void reloadFromImage() override;
    // "确定": whether the unit is saved now.
    bool saveUnit();
    bool saveEdits() override { return saveUnit(); }
    [[nodiscard]] bool hasUnsavedEdits() const override;
    void markPastEnd(const std::vector<std::size_t>& rows) override;
    // "GO", or Enter in the search box.
    void search();
    // "武器".
    void openWeaponEditor();

    // Replaces the modal weapon editor (tests); an empty opener restores it.
    void setWeaponEditorOpener(WeaponEditorOpener opener);

    [[nodiscard]] const NameList& nameList() const;
    // The row whose unit is current, or -1 before the first notice of a list.
    [[nodiscard]] int currentRow() const { return m_currentRow; }
    [[nodiscard]] const UnitPageUi& ui() const { return m_ui; }
    [[nodiscard]] AbilityTickList* abilityList(int list) const;

    // Each ability list's remembered row: one set for the whole program.
    [[nodiscard]] static int rememberedRow(int list);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onListSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void selectUnit(int row);
    void loadCurrentUnit();
    // Makes the current row the selected one again, without a notice.
    void keepSelection();
    void enableButtons(bool enabled);
    // The record as the controls show it.
    [[nodiscard]] UnitRecord shownRecord() const;
    [[nodiscard]] QWidget* controlFor(std::string_view key) const;

    UnitPageUi m_ui;
    UnitPageValues m_values;
    UnitRecord m_clean; // as shown after the last load or save
    NameSearch m_search;
    int m_currentRow = -1;
    bool m_filling = false;
    WeaponEditorOpener m_openWeaponEditor;
};

} // namespace starfall
