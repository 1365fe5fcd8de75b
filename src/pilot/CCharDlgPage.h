#pragma once

// The pilot tab. MINIMAL SO FAR: it keeps its image session and reads the pilot
// list; the pilot page's controls and record handling are still to be filled in.

#include "app/EditorPage.h"
#include "lists/NameList.h"

namespace starfall {

class CCharDlgPage : public EditorPage {
    Q_OBJECT
public:
    explicit CCharDlgPage(QWidget* parent = nullptr);

    // Re-reads charlist.ini from the session's program directory. A missing
    // list is reported and ends the program.
    void rebuildList();
    void reloadFromImage() override;

    [[nodiscard]] const NameList& nameList() const { return m_list; }

private:
    NameList m_list;
};

} // namespace starfall
