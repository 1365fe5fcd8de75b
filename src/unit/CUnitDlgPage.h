#pragma once

// The unit tab. MINIMAL SO FAR: it keeps its image session and reads the unit
// list; the unit page's controls and record handling are still to be filled in.

#include "app/EditorPage.h"
#include "lists/NameList.h"

namespace starfall {

class CUnitDlgPage : public EditorPage {
    Q_OBJECT
public:
    explicit CUnitDlgPage(QWidget* parent = nullptr);

    // Re-reads unitlist.ini from the session's program directory. A missing
    // list is reported and ends the program.
    void rebuildList();
    void reloadFromImage() override;

    [[nodiscard]] const NameList& nameList() const { return m_list; }

private:
    NameList m_list;
};

} // namespace starfall
