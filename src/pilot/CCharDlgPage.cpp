#include "pilot/CCharDlgPage.h"

#include "app/CoreErrorReport.h"
#include "lists/NameListReader.h"

namespace starfall {

CCharDlgPage::CCharDlgPage(QWidget* parent) : EditorPage(parent) {
    setObjectName(QStringLiteral("pilotPage"));
}

void CCharDlgPage::rebuildList() {
    m_list = {};
    runReportingErrors(
        this, [this] { m_list = loadNameList(imageSession().programDirectory, ListKind::Pilots); });
}

void CCharDlgPage::reloadFromImage() {}

} // namespace starfall
