#include "unit/CUnitDlgPage.h"

#include "app/CoreErrorReport.h"
#include "lists/NameListReader.h"

namespace starfall {

CUnitDlgPage::CUnitDlgPage(QWidget* parent) : EditorPage(parent) {
    setObjectName(QStringLiteral("unitPage"));
}

void CUnitDlgPage::rebuildList() {
    m_list = {};
    runReportingErrors(
        this, [this] { m_list = loadNameList(imageSession().programDirectory, ListKind::Units); });
}

void CUnitDlgPage::reloadFromImage() {}

} // namespace starfall
