// Qt's own texts in the editor's frame (message box buttons, the open-file
// dialog) come in Korean from the translation the set-up installs.
#include "gui/app/QtTranslation.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

using namespace starfall;

namespace {

TEST(QtTranslation, MessageBoxesAndTheOpenFileDialogSpeakKorean) {
    QTranslator translator;
    ASSERT_TRUE(loadQtKorean(translator));
    ASSERT_TRUE(QCoreApplication::installTranslator(&translator));

    QMessageBox box(QMessageBox::Information, QStringLiteral("t"), QStringLiteral("x"),
                    QMessageBox::Ok);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QStringLiteral("확인"));

    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const auto* lookIn = dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"));
    ASSERT_NE(lookIn, nullptr);
    EXPECT_EQ(lookIn->text(), QStringLiteral("다음에서 찾기:"));
    const auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Open)->text(), QStringLiteral("열기(&O)"));
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("취소"));

    QCoreApplication::removeTranslator(&translator);
}

} // namespace
