#pragma once

#include <QDialog>

namespace starfall {

// The About box: the program icon, its name and version, and "关闭".
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace starfall
