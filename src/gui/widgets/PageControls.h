#pragma once

// Controls every page and dialog builds alike: a push button that Enter never
// presses, the label that shows the current record's name, a row of buttons
// at the right, and the access keys of the captioned buttons and the tabs.

#include <span>
#include <string_view>
#include <utility>

class QAbstractButton;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTabWidget;
class QWidget;

namespace starfall {

// `text` UTF-8, `objectName` ASCII. The button gets its access key, if its
// kind of button has one.
[[nodiscard]] QPushButton* pageButton(const char* text, const char* objectName, QWidget* parent);

// The captions of the tabs and of the buttons are the program's own texts and
// carry no mnemonic, so Alt and a letter press a button of the page or dialog
// shown (确定 Alt+O, 取消 Alt+C, 武器 Alt+W, 技能列表 Alt+K, GO Alt+G), and
// Alt and a digit bring a tab forward. Screen readers announce the key with
// the button; a tab's tooltip names it.
void giveAccessKey(QAbstractButton* button);
void giveTabsAccessKeys(QTabWidget* tabs);
// Names the key in the tooltip of a tab whose page was put in after.
void showTabAccessKey(QTabWidget* tabs, int tab);

// A record's field keys and the controls that show them.
using KeyedControl = std::pair<std::string_view, QWidget*>;

// The control that shows field `key`, or null when none does.
[[nodiscard]] QWidget* controlForKey(std::span<const KeyedControl> controls, std::string_view key);

// Centred, in the blue the pages show a record's name in.
[[nodiscard]] QLabel* recordNameLabel(QWidget* parent);

// The buttons in order, pushed to the right.
[[nodiscard]] QHBoxLayout* buttonRow(QPushButton* first, QPushButton* second);

} // namespace starfall
