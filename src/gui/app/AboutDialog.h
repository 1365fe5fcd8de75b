#pragma once

#include <QDialog>

namespace starfall {

// The About box: the program icon, its name and version, and "关闭".
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

} // namespace starfall
