// The window from the keyboard alone: Tab walks the controls in the order of the form, Space
// works every button and the check box, and after Close the focus goes to Create.

#include <QAbstractButton>
#include <QCheckBox>

#include "ConnectedForm.h"

using namespace quorvane;
using quorvane::test::Control;
using scripted::Op;

namespace {

// The tab order while connected (Create is disabled then): the form's top level, each group box's
// controls in their own order at the group box's place.
const QStringList kConnectedChain = {
    "cxComboBox1",     "Button2",     "Button4",         "cxDateEdit1", "cxCurrencyEdit1",
    "Button3",         "cxDateEdit2", "cxCurrencyEdit2", "Button5",     "cxDateEdit3",
    "cxCurrencyEdit3", "cxCheckBox1", "cxMemo1",         "Country",     "Button6",
    "cxComboBox2",     "cxTextEdit1", "cxTextEdit2",     "Button7",     "cxComboBox3",
    "cxComboBox4",     "Button8",     "cxComboBox5",     "cxComboBox6", "cxDateEdit4",
    "cxTextEdit3"};

// The control that holds the focus, by name: composite controls take it on an inner part.
QString FocusName() {
  QWidget* focus = QApplication::focusWidget();
  while (focus && focus->objectName().isEmpty())
    focus = focus->parentWidget();
  return focus ? focus->objectName() : QString("(none)");
}

}  // namespace

class KeyboardTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    test::UseTestClockAndLocale();
    CoInitialize(nullptr);
  }
  void cleanupTestCase() { CoUninitialize(); }

  // Create by Space, the whole tab order, each button by Space, and Close by Space, after which
  // the focus is on Create, where Space connects again.
  void everyButtonFromTheKeyboard() {
    scripted::ScopedScriptedServer server;
    server->Reply(Op::GetCountryList, u";Russia");
    server->Reply(Op::GetFieldValueList, u"RUB,USD");
    test::ErrorBoxCatcher errors;
    Tform1 form;
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* create = Control<QAbstractButton>(form, "Button1");
    create->setFocus();
    QTest::keyClick(create, Qt::Key_Space);
    QVERIFY(ServerIntf);
    QVERIFY(!create->isEnabled());

    // The tab order, once round.
    Control<QWidget>(form, "cxComboBox1")->setFocus();
    QStringList chain;
    for (int i = 0; i < kConnectedChain.size() + 1; ++i) {
      chain.append(FocusName());
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(chain.mid(0, kConnectedChain.size()), kConnectedChain);
    QCOMPARE(chain.back(), kConnectedChain.front());

    // Each button and the check box by Space, reached by Tab: the server call each makes.
    const std::pair<const char*, const char*> works[] = {
        {"Button4", "GetMinimumWageList"},    {"Button3", "GetFundsRateList"},
        {"Button5", "GetPriceIndexList"},     {"cxCheckBox1", "Set_Visible"},
        {"Country", "GetListOfExchangeRate"}, {"Button6", "GetLIDCurrency"},
        {"Button7", "GetListOfExchangeRate"}, {"Button8", "GetExchangeRate"}};
    for (const auto& [name, call] : works) {
      while (FocusName() != name)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      server->ClearCalls();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
      QVERIFY2(
          !server->Log().empty() && QString::fromStdString(server->Log().front()).startsWith(call),
          name);
    }

    // Close by Space: the focus goes to Create, which Space works again.
    while (FocusName() != "Button2")
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(!ServerIntf);
    QCOMPARE(QApplication::focusWidget(), create);
    QTest::keyClick(create, Qt::Key_Space);
    QVERIFY(ServerIntf);
    FinalizeQuorvaneFunc();
  }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
