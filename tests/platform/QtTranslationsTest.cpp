#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>

#include "platform/MessageBoxes.h"
#include "platform/widgets/QtMessageBoxes.h"
#include "platform/widgets/QtTranslations.h"
#include "support/ProcessSeams.h"

namespace slatewick {

// Under a Japanese locale the standard question box and the save-file dialog speak Japanese.
TEST(QtTranslations, StandardPiecesSpeakTheLocalesLanguage) {
  const ProcessSeams seams;  // takes out again the Qt boxes installed here
  QTranslator* japanese = InstallQtTranslations(QLocale(QLocale::Japanese, QLocale::Japan));
  ASSERT_NE(japanese, nullptr) << "Qt's Japanese translations are not installed";
  InstallQtMessageBoxes();
  QStringList buttons;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_TRUE(box);
    for (const QAbstractButton* button : box->buttons()) buttons.append(button->text());
    box->reject();
  });
  ShowMessageBox(
      {QStringLiteral("消しますか?"), QStringLiteral("Slatewick"), BoxIcon::Question, true});
  QFileDialog save;
  save.setAcceptMode(QFileDialog::AcceptSave);
  const QString accept = save.labelText(QFileDialog::Accept);

  QCoreApplication::removeTranslator(japanese);
  delete japanese;
  buttons.sort();
  EXPECT_EQ(buttons.join(u' '), QStringLiteral("いいえ(&N) はい(&Y)"));
  EXPECT_EQ(accept, QStringLiteral("保存(&S)"));
}

}  // namespace slatewick
