// Create, Close and the visibility check box against the scripted server: what each action calls,
// which controls it enables, what it fills, and what a failure at each server call leaves.

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <memory>

#include "CurrencyEdit.h"
#include "Memo.h"
#include "ScriptedServer.h"
#include "StringListComboBox.h"
#include "WindowTestSupport.h"
#include "uQuorvaneFunc.h"

using namespace quorvane;
using quorvane::test::Control;
using scripted::Op;

namespace {

const QStringList kFieldNames = {
    "Currency_International", "CurrencyShrt_International", "NumericCode",
    "CountryName_National",   "CountryName_International",  "Currency_National",
    "CurrencyShrt_National"};
const char* const kCodeBoxes[] = {"cxComboBox3", "cxComboBox4", "cxComboBox5", "cxComboBox6"};
// Each code box gets its own reply, so a box filled from another call shows.
const std::vector<std::u16string> kCodeReplies = {u"RUB,USD", u"EUR,,GBP", u"JPY", u"CHF,RUB"};
const QStringList kCodeItems[] = {{"RUB", "USD"}, {"EUR", "GBP"}, {"JPY"}, {"CHF", "RUB"}};

QStringList Items(QWidget& form, const char* name) {
  auto* box = Control<StringListComboBox>(form, name);
  QStringList items;
  for (int i = 0; i < box->count(); ++i)
    items.append(box->itemText(i));
  return items;
}

QString Text(QWidget& form, const char* name) {
  return Control<StringListComboBox>(form, name)->Text();
}

bool Usable(QWidget& form, const char* name) {
  return Control<QWidget>(form, name)->isEnabled();
}

// The enabled flags that tell the two working states apart.
void CheckConnected(QWidget& form, bool connected) {
  QCOMPARE(Usable(form, "Button1"), !connected);
  for (const char* name : {"Button2", "cxGroupBox1", "cxGroupBox2", "cxGroupBox3", "cxGroupBox4",
                           "cxGroupBox6", "cxGroupBox7", "cxGroupBox8"})
    QVERIFY2(Usable(form, name) == connected, name);
  for (const char* name : {"Country", "cxGroupBox5", "cxMemo1"})
    QVERIFY2(Usable(form, name), name);
}

void Click(QWidget& form, const char* button) {
  QTest::mouseClick(Control<QAbstractButton>(form, button), Qt::LeftButton);
}

std::vector<std::string> VisibilityCalls(const scripted::Script& script, int object) {
  std::vector<std::string> calls;
  for (const auto& call : script.Calls())
    if (call.object == object && (call.op == Op::Get_Visible || call.op == Op::Set_Visible))
      calls.push_back(call.ToString());
  return calls;
}

void ScriptCatalogue(scripted::Script& script) {
  script.Reply(Op::GetCountryList, u";Chile;United_Kingdom;New_Zealand");
  script.ReplyInTurn(Op::GetFieldValueList, kCodeReplies);
}

}  // namespace

class CreateTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    test::UseTestClockAndLocale();
    CoInitialize(nullptr);
  }
  void cleanupTestCase() { CoUninitialize(); }
  void cleanup() { FinalizeQuorvaneFunc(); }

  // A click on Create: one call per list, the letter codes four times, then the visibility.
  void createFillsTheWindow() {
    scripted::ScopedScriptedServer server;
    ScriptCatalogue(*server);
    test::ErrorBoxCatcher errors;
    Tform1 form;
    form.show();
    Click(form, "Button1");
    QCOMPARE(server->Log(),
             (std::vector<std::string>{"GetCountryList()", "GetFieldValueList(\"LetterCode\")",
                                       "GetFieldValueList(\"LetterCode\")",
                                       "GetFieldValueList(\"LetterCode\")",
                                       "GetFieldValueList(\"LetterCode\")", "Get_Visible()"}));
    CheckConnected(form, true);
    QVERIFY(Usable(form, "cxCheckBox1"));
    QCOMPARE(Items(form, "cxComboBox1"), QStringList({"Chile", "United Kingdom", "New Zealand"}));
    // "Russia" is set although the list does not hold it.
    QCOMPARE(Text(form, "cxComboBox1"), QString("Russia"));
    for (int i = 0; i < 4; ++i)
      QCOMPARE(Items(form, kCodeBoxes[i]), kCodeItems[i]);
    QCOMPARE(Items(form, "cxComboBox2"), kFieldNames);
    QCOMPARE(Text(form, "cxComboBox3"), QString("RUB"));
    QCOMPARE(Text(form, "cxComboBox4"), QString("USD"));
    QVERIFY(errors.boxes.empty());
    QVERIFY(ServerIntf);
  }

  // Long lists fill each combo box in one rebuild of its items (one insertion of rows), not one
  // per name mended or blank entry removed.
  void createRebuildsEachListOnce() {
    std::u16string countries, codes;
    QStringList countryItems, codeItems;
    for (int i = 0; i < 4000; ++i) {
      const std::u16string number = QString::number(i).toStdU16String();
      countries += u";Country_" + number;
      countryItems.append("Country " + QString::number(i));
      codes += u",,C" + number;
      codeItems.append("C" + QString::number(i));
    }
    scripted::ScopedScriptedServer server;
    server->Reply(Op::GetCountryList, countries);
    server->Reply(Op::GetFieldValueList, codes);
    test::ErrorBoxCatcher errors;
    Tform1 form;
    form.show();
    std::vector<std::unique_ptr<QSignalSpy>> insertions;
    const char* const boxes[] = {"cxComboBox1", "cxComboBox3", "cxComboBox4", "cxComboBox5",
                                 "cxComboBox6"};
    for (const char* name : boxes)
      insertions.push_back(std::make_unique<QSignalSpy>(
          Control<StringListComboBox>(form, name)->model(), &QAbstractItemModel::rowsInserted));
    Click(form, "Button1");
    QVERIFY(errors.boxes.empty());
    QCOMPARE(Items(form, "cxComboBox1"), countryItems);
    for (int i = 0; i < 5; ++i) {
      if (i > 0)
        QCOMPARE(Items(form, boxes[i]), codeItems);
      QVERIFY2(
          insertions[i]->count() == 1,
          qPrintable(QString("%1 rebuilt %2 times").arg(boxes[i]).arg(insertions[i]->count())));
    }
  }

  // The check box after Create, by its state before and the server's answer.
  void visibility_data() {
    QTest::addColumn<bool>("checkedBefore");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("checkedAfter");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("unchecked, hidden: nothing sent")
        << false << 0 << false << QStringList{"Get_Visible()"};
    QTest::newRow("unchecked, visible: told true")
        << false << -1 << true << QStringList{"Get_Visible()", "Set_Visible(-1)"};
    QTest::newRow("unchecked, any non-zero answer is visible")
        << false << 1 << true << QStringList{"Get_Visible()", "Set_Visible(-1)"};
    QTest::newRow("checked from before, visible: nothing sent")
        << true << -1 << true << QStringList{"Get_Visible()"};
    QTest::newRow("checked from before, hidden: told false")
        << true << 0 << false << QStringList{"Get_Visible()", "Set_Visible(0)"};
  }

  void visibility() {
    QFETCH(bool, checkedBefore);
    QFETCH(int, answer);
    QFETCH(bool, checkedAfter);
    QFETCH(QStringList, calls);
    scripted::ScopedScriptedServer server;
    ScriptCatalogue(*server);
    test::ErrorBoxCatcher errors;
    Tform1 form;
    form.show();
    int object = 1;
    if (checkedBefore) {
      // An earlier connection leaves the box checked: the user checks it, then closes.
      Click(form, "Button1");
      Click(form, "cxCheckBox1");
      QVERIFY(Control<QCheckBox>(form, "cxCheckBox1")->isChecked());
      Click(form, "Button2");
      object = 2;
    }
    server->SetVisible(static_cast<VARIANT_BOOL>(answer));
    Click(form, "Button1");
    QCOMPARE(Control<QCheckBox>(form, "cxCheckBox1")->isChecked(), checkedAfter);
    std::vector<std::string> expected;
    for (const QString& call : calls)
      expected.push_back(call.toStdString());
    QCOMPARE(VisibilityCalls(*server, object), expected);
    QVERIFY(errors.boxes.empty());
  }

  // A click on the enabled box tells the server each real change once; setting the state the
  // box already has tells it nothing.
  void checkBoxTellsTheServer() {
    scripted::ScopedScriptedServer server;
    ScriptCatalogue(*server);
    test::ErrorBoxCatcher errors;
    Tform1 form;
    form.show();
    Click(form, "Button1");
    server->ClearCalls();
    auto* box = Control<QCheckBox>(form, "cxCheckBox1");
    Click(form, "cxCheckBox1");
    box->setChecked(true);
    Click(form, "cxCheckBox1");
    box->setChecked(false);
    QCOMPARE(server->Log(), (std::vector<std::string>{"Set_Visible(-1)", "Set_Visible(0)"}));
    QVERIFY(errors.boxes.empty());
  }

  // Close releases the server and disables the working controls; every list, text, value, the
  // check mark and the memo stay. A later Create fetches the lists again and sets "Russia".
  void closeKeepsEverything() {
    scripted::ScopedScriptedServer server;
    ScriptCatalogue(*server);
    server->SetVisible(VARIANT_TRUE);
    test::ErrorBoxCatcher errors;
    Tform1 form;
    form.show();
    Click(form, "Button1");
    Control<StringListComboBox>(form, "cxComboBox1")->SetText("Chile");
    Control<StringListComboBox>(form, "cxComboBox3")->SetText("EUR");
    Control<QLineEdit>(form, "cxTextEdit2")->setText("RUB");
    Control<CurrencyEdit>(form, "cxCurrencyEdit1")->SetValue(4330);
    Control<Memo>(form, "cxMemo1")->AppendLine("kept");
    const QString memo = Control<Memo>(form, "cxMemo1")->Text();

    Click(form, "Button2");
    CheckConnected(form, false);
    QVERIFY(!Usable(form, "cxCheckBox1"));
    QVERIFY(!ServerIntf);
    QCOMPARE(server->ObjectsAlive(), 0);
    QCOMPARE(Items(form, "cxComboBox1"), QStringList({"Chile", "United Kingdom", "New Zealand"}));
    QCOMPARE(Items(form, "cxComboBox6"), kCodeItems[3]);
    QCOMPARE(Text(form, "cxComboBox1"), QString("Chile"));
    QCOMPARE(Text(form, "cxComboBox3"), QString("EUR"));
    QCOMPARE(Control<QLineEdit>(form, "cxTextEdit2")->text(), QString("RUB"));
    QCOMPARE(Control<CurrencyEdit>(form, "cxCurrencyEdit1")->text(), QString("4,330.00"));
    QVERIFY(Control<QCheckBox>(form, "cxCheckBox1")->isChecked());
    QCOMPARE(Control<Memo>(form, "cxMemo1")->Text(), memo);

    server->ClearCalls();
    server->Reply(Op::GetCountryList, u";Russia");
    Click(form, "Button1");
    QCOMPARE(server->CallCount(Op::GetCountryList), 1);
    QCOMPARE(server->CallCount(Op::GetFieldValueList), 4);
    QCOMPARE(Items(form, "cxComboBox1"), QStringList({"Russia"}));
    QCOMPARE(Text(form, "cxComboBox1"), QString("Russia"));
    QCOMPARE(Text(form, "cxComboBox3"), QString("EUR"));
    QVERIFY(errors.boxes.empty());
  }

  // A failure at each server call of Create, in turn: the steps before it stay done, its message
  // is shown once, and the window stays usable (Close still works).
  void failureAtEachCall_data() {
    QTest::addColumn<int>("failingCall");
    QTest::newRow("1: GetCountryList") << 1;
    QTest::newRow("2: letter codes of cxComboBox3") << 2;
    QTest::newRow("3: letter codes of cxComboBox4") << 3;
    QTest::newRow("4: letter codes of cxComboBox5") << 4;
    QTest::newRow("5: letter codes of cxComboBox6") << 5;
    QTest::newRow("6: Get_Visible") << 6;
    QTest::newRow("7: Set_Visible inside the check box's change") << 7;
  }

  void failureAtEachCall() {
    QFETCH(int, failingCall);
    scripted::ScopedScriptedServer server;
    ScriptCatalogue(*server);
    server->SetVisible(VARIANT_TRUE);
    server->FailNth(failingCall,
                    {E_FAIL, scripted::ErrorDetails{u"Injected failure. ", u"", u"", 0}});
    test::ErrorBoxCatcher errors;
    Tform1 form;
    form.show();
    Click(form, "Button1");

    QCOMPARE(static_cast<int>(server->Calls().size()), failingCall);
    QCOMPARE(errors.Texts(), QStringList({"Injected failure."}));
    QCOMPARE(errors.boxes[0].first, ApplicationTitle());
    CheckConnected(form, true);
    QVERIFY(ServerIntf);
    // The country list was emptied before its call; a code box whose call failed keeps its items.
    QCOMPARE(
        Items(form, "cxComboBox1"),
        failingCall == 1 ? QStringList() : QStringList({"Chile", "United Kingdom", "New Zealand"}));
    for (int i = 0; i < 4; ++i)
      QCOMPARE(Items(form, kCodeBoxes[i]), failingCall > 2 + i ? kCodeItems[i] : kFieldNames);
    QCOMPARE(Text(form, "cxComboBox1"), QString(failingCall > 5 ? "Russia" : "cxComboBox1"));
    QCOMPARE(Usable(form, "cxCheckBox1"), failingCall > 5);
    // A failed Set_Visible leaves the box in its new state.
    QCOMPARE(Control<QCheckBox>(form, "cxCheckBox1")->isChecked(), failingCall == 7);

    Click(form, "Button2");
    CheckConnected(form, false);
    QVERIFY(!ServerIntf);
    QCOMPARE(errors.boxes.size(), size_t{1});
  }

  // An empty letter-code reply stops Create with the index error, shown without a full stop.
  void emptyLetterCodeReply() {
    scripted::ScopedScriptedServer server;
    server->Reply(Op::GetCountryList, u";Russia");
    server->ReplyInTurn(Op::GetFieldValueList, {u"RUB", u"  "});
    test::ErrorBoxCatcher errors;
    Tform1 form;
    form.show();
    Click(form, "Button1");
    QCOMPARE(errors.Texts(), QStringList({"List index out of bounds (0)"}));
    QCOMPARE(Items(form, "cxComboBox3"), QStringList({"RUB"}));
    QCOMPARE(Items(form, "cxComboBox4"), QStringList());
    QCOMPARE(Items(form, "cxComboBox5"), kFieldNames);
    QCOMPARE(server->CallCount(Op::GetFieldValueList), 2);
    QCOMPARE(server->CallCount(Op::Get_Visible), 0);
  }

  // A server object that cannot be made: nothing changes, nothing is shown, Create can be pressed
  // again.
  void creationFailure_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("creation fails") << int(scripted::CreationMode::CreationFails);
    QTest::newRow("interface not supported") << int(scripted::CreationMode::NoInterface);
  }

  void creationFailure() {
    QFETCH(int, mode);
    scripted::ScopedScriptedServer server(static_cast<scripted::CreationMode>(mode));
    ScriptCatalogue(*server);
    test::ErrorBoxCatcher errors;
    Tform1 form;
    form.show();
    Click(form, "Button1");
    Click(form, "Button1");
    QVERIFY(errors.boxes.empty());
    CheckConnected(form, false);
    QVERIFY(!Usable(form, "cxCheckBox1"));
    QVERIFY(server->Calls().empty());
    QCOMPARE(Text(form, "cxComboBox1"), QString("cxComboBox1"));
    QCOMPARE(Items(form, "cxComboBox3"), kFieldNames);
    QVERIFY(!ServerIntf);
  }

  // Without a server object the client says so, and the box adds how to make one.
  void noServerObjectSaysHowToMakeOne() {
    test::ErrorBoxCatcher errors;
    try {
      Server();
    } catch (...) {
      ShowCurrentError();
    }
    QCOMPARE(errors.Texts(), QStringList{"No server object: press \"Create Quorvane\" first."});
  }
};

QTEST_MAIN(CreateTest)
#include "create_test.moc"
