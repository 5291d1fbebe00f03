// The main window as created: every control's kind, place, caption, content and enabled state,
// the tab order, the font and its scaling, and the error box.

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "AboutBox.h"
#include "CurrencyEdit.h"
#include "DateEdit.h"
#include "DesignedForm.h"
#include "ErrorDetails.h"
#include "Errors.h"
#include "Memo.h"
#include "QuorvaneVersion.h"
#include "ServerCall.h"
#include "StringListComboBox.h"
#include "TextToValue.h"
#include "WindowTestSupport.h"

using namespace quorvane;

Q_DECLARE_METATYPE(std::exception_ptr)
using quorvane::test::Control;

namespace {

namespace designed = quorvane::designed;

QString Q(const char16_t* text) {
  return QString::fromUtf16(text);
}

QStringList FieldNames() {
  QStringList names;
  for (const char16_t* name : designed::kFieldNames)
    names.append(Q(name));
  return names;
}

const QStringList kFieldNames = FieldNames();

// The heights of the Qt controls whose height follows the font.
int AutoHeight(designed::Kind kind) {
  return kind == designed::Kind::CheckBox ? 19 : 21;
}

}  // namespace

class FormTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { test::UseTestClockAndLocale(); }

  void windowProperties() {
    Tform1 form;
    QCOMPARE(form.objectName(), QString(designed::kWindowName));
    QCOMPARE(form.windowTitle(), Q(designed::kCaption));
    QCOMPARE(form.size(), QSize(designed::kClientWidth, designed::kClientHeight));
    QCOMPARE(form.font().family(), Q(designed::kFontName));
    QCOMPARE(form.font().pixelSize(), -designed::kFontHeight);
  }

  void controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("ownEnabled");
    QTest::addColumn<bool>("usable");
    // Every control but the labels, whose width follows the caption (labelsLeaveTheirEditorsFree):
    // only Button1, Country, the memo and the frame of cxGroupBox5 are usable at start; the
    // controls inside disabled group boxes are enabled themselves, unusable through their box.
    for (const designed::Control& c : designed::kControls) {
      if (c.kind == designed::Kind::Label)
        continue;
      const QRect geometry(c.left, c.top, c.width,
                           c.height == designed::kAuto ? AutoHeight(c.kind) : c.height);
      QTest::newRow(c.name) << QString(c.name) << QString(c.parent) << geometry << c.enabled
                            << designed::UsableAtStart(c);
    }
  }

  void controls() {
    QFETCH(QString, name);
    QFETCH(QString, parentName);
    QFETCH(QRect, geometry);
    QFETCH(bool, ownEnabled);
    QFETCH(bool, usable);
    Tform1 form;
    QWidget* control = Control<QWidget>(form, name.toLatin1().constData());
    QCOMPARE(control->parentWidget()->objectName(), parentName);
    QCOMPARE(control->geometry(), geometry);
    QCOMPARE(!control->testAttribute(Qt::WA_ForceDisabled), ownEnabled);
    QCOMPARE(control->isEnabled(), usable);
  }

  void captions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    for (const designed::Control& c : designed::kControls)
      if (c.kind == designed::Kind::PushButton || c.kind == designed::Kind::CheckBox ||
          c.kind == designed::Kind::GroupBox || c.kind == designed::Kind::Label)
        QTest::newRow(c.name) << QString(c.name) << Q(c.text);
  }

  // Each caption is the system's text and fits in its control with the window's font.
  void captions() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    Tform1 form;
    QWidget* control = Control<QWidget>(form, name.toLatin1().constData());
    QString text;
    int room = control->width();
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
      text = button->text();
      if (qobject_cast<QCheckBox*>(control))
        room -= 20;  // the check mark
      else
        room -= 4;  // the frame
    } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
      text = box->title();
      room -= 16;  // the frame's ends
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
      text = label->text();
    }
    QCOMPARE(text, caption);
    QVERIFY2(control->fontMetrics().horizontalAdvance(text) <= room,
             qPrintable(QString("%1 needs %2 of %3")
                            .arg(text)
                            .arg(control->fontMetrics().horizontalAdvance(text))
                            .arg(room)));
  }

  // Each "Value" label is as wide as its caption and ends before the editor beside it.
  void labelsLeaveTheirEditorsFree_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("editor");
    QTest::newRow("minimum wage") << "cxLabel1"
                                  << "cxCurrencyEdit1";
    QTest::newRow("funds rate") << "cxLabel2"
                                << "cxCurrencyEdit2";
    QTest::newRow("price index") << "cxLabel3"
                                 << "cxCurrencyEdit3";
    QTest::newRow("letter code") << "cxLabel4"
                                 << "cxTextEdit2";
    QTest::newRow("rate on a day") << "cxLabel5"
                                   << "cxTextEdit3";
  }

  void labelsLeaveTheirEditorsFree() {
    QFETCH(QString, label);
    QFETCH(QString, editor);
    Tform1 form;
    auto* l = Control<QLabel>(form, label.toLatin1().constData());
    auto* e = Control<QWidget>(form, editor.toLatin1().constData());
    QCOMPARE(l->width(), l->sizeHint().width());
    QVERIFY2(l->geometry().right() < e->geometry().left(),
             qPrintable(QString("label ends at %1, editor starts at %2")
                            .arg(l->geometry().right())
                            .arg(e->geometry().left())));
  }

  // The window's icon is the picture of the Windows program's icon, in each of its sizes.
  void windowIcon() {
    Tform1 form;
    const QIcon icon = form.windowIcon();
    QImageReader ico(QStringLiteral(QV_SOURCE_DIR "/app/resources/QuorvaneTestCom.ico"));
    if (!ico.canRead())
      QSKIP("no reader for .ico files here");
    QCOMPARE(ico.imageCount(), 3);
    for (int i = 0; i < ico.imageCount(); ++i) {
      QVERIFY(ico.jumpToImage(i));
      const QImage picture = ico.read().convertToFormat(QImage::Format_ARGB32);
      QVERIFY(icon.availableSizes().contains(picture.size()));
      QCOMPARE(icon.pixmap(picture.size()).toImage().convertToFormat(QImage::Format_ARGB32),
               picture);
    }
  }

  // F1 opens the About box: version, build, catalogue, the data's vintage and the licences.
  void aboutBox() {
    SetAboutFacts([] {
      return AboutFacts{
          {"Russia, minimum wage: 2026-01-01", "rate table rates/usd_daily.csv: 2026-04-13"},
          "Unicode CLDR 42 via ICU 72.1"};
    });
    const QString text = AboutText();
    for (const QString& part : {QString("QuorvaneTestCom ") + kQuorvaneVersion, QString("Build: "),
                                QString("Qt ") + QT_VERSION_STR,
                                QString("Currency catalogue: Unicode CLDR 42 via ICU 72.1"),
                                QString("  Russia, minimum wage: 2026-01-01\n"),
                                QString("  rate table rates/usd_daily.csv: 2026-04-13\n"),
                                QString("Licences:"), QString("GNU Lesser General Public License"),
                                QString("Attribution of the reference data")})
      QVERIFY2(text.contains(part), qPrintable(part));
    SetAboutFacts({});
    QVERIFY(AboutText().contains("(last observation of each series and rate table):\n  not known"));

    Tform1 form;
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QString shown;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!box)
        return;
      shown = box->objectName();
      box->accept();
    });
    QTest::keyClick(&form, Qt::Key_F1);
    QCOMPARE(shown, QString("AboutBox"));
  }

  void initialContents() {
    Tform1 form;
    auto* country = Control<StringListComboBox>(form, "cxComboBox1");
    QCOMPARE(country->Text(), QString("cxComboBox1"));
    QCOMPARE(country->count(), 0);
    QCOMPARE(country->Items().Count(), 0);

    std::vector<std::pair<const char*, QString>> fieldBoxes;
    for (const designed::Control& c : designed::kControls)
      if (c.fieldNameItems)
        fieldBoxes.push_back({c.name, Q(c.text)});
    QCOMPARE(fieldBoxes.size(), size_t{5});
    for (const auto& [name, text] : fieldBoxes) {
      auto* box = Control<StringListComboBox>(form, name);
      QCOMPARE(box->Text(), text);
      QStringList items, listItems;
      for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
      for (const auto& item : box->Items().Items())
        listItems.append(QString::fromStdU16String(item));
      QCOMPARE(items, kFieldNames);
      QCOMPARE(listItems, kFieldNames);
      QCOMPARE(box->maxVisibleItems(), 8);
    }

    QCOMPARE(Control<QLineEdit>(form, "cxTextEdit1")->text(),
             Q(designed::Find("cxTextEdit1")->text));
    QCOMPARE(Control<QLineEdit>(form, "cxTextEdit1")->text(), QString("рубль"));
    QCOMPARE(Control<QLineEdit>(form, "cxTextEdit1")->text().size(), 5);
    QCOMPARE(Control<QLineEdit>(form, "cxTextEdit2")->text(), QString());
    QCOMPARE(Control<QLineEdit>(form, "cxTextEdit3")->text(), QString());
    for (const char* name : {"cxDateEdit1", "cxDateEdit2", "cxDateEdit3"}) {
      QVERIFY(!Control<DateEdit>(form, name)->HasDate());
      QCOMPARE(Control<DateEdit>(form, name)->Value(), kNullDate);
    }
    QCOMPARE(Control<DateEdit>(form, designed::kDatedEditor)->Value(), designed::kStartDate);
    for (const char* name : {"cxCurrencyEdit1", "cxCurrencyEdit2", "cxCurrencyEdit3"}) {
      QVERIFY(!Control<CurrencyEdit>(form, name)->Value());
      QCOMPARE(Control<CurrencyEdit>(form, name)->text(), QString());
    }
    QVERIFY(!Control<QCheckBox>(form, "cxCheckBox1")->isChecked());
    // Three lines, the third with its trailing space, a blank line, and a final line break.
    QString memo;
    for (const char16_t* line : designed::kMemoLines)
      memo += Q(line) + "\r\n";
    QCOMPARE(Control<Memo>(form, "cxMemo1")->Text(), memo);
  }

  // Tab passes over every control inside a disabled group box, and reaches them once enabled.
  void tabOrder() {
    Tform1 form;
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    Control<QWidget>(form, "Button1")->setFocus();
    const auto chain = [] {
      QStringList names;
      QWidget* start = QApplication::focusWidget();
      for (int i = 0; i < 40; ++i) {
        QWidget* focus = QApplication::focusWidget();
        // Composite controls take the focus on an inner part; name the control.
        while (focus && focus->objectName().isEmpty())
          focus = focus->parentWidget();
        if (focus && !names.isEmpty() && names.first() == focus->objectName() && i > 0)
          break;
        names.append(focus ? focus->objectName() : QString("?"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == start)
          break;
      }
      return names;
    };
    QCOMPARE(chain(), QStringList({"Button1", "cxMemo1", "Country"}));

    for (const char* box : {"cxGroupBox1", "cxGroupBox6", "cxGroupBox8"})
      Control<QWidget>(form, box)->setEnabled(true);
    Control<QWidget>(form, "Button1")->setFocus();
    QCOMPARE(chain(), QStringList({"Button1", "cxComboBox1", "cxMemo1", "Country", "Button6",
                                   "cxComboBox2", "cxTextEdit1", "cxTextEdit2", "Button8",
                                   "cxComboBox5", "cxComboBox6", "cxDateEdit4", "cxTextEdit3"}));
  }

  // The window and its controls grow or shrink by the ratio of the text heights.
  void scaling_data() {
    QTest::addColumn<int>("textHeight");
    QTest::addColumn<QSize>("windowSize");
    QTest::addColumn<QRect>("memo");
    QTest::addColumn<QRect>("button7");
    QTest::newRow("design height: unchanged")
        << 13 << QSize(750, 566) << QRect(16, 407, 726, 151) << QRect(224, 19, 136, 25);
    QTest::newRow("smaller font: 11/13")
        << 11 << QSize(635, 479) << QRect(14, 344, 614, 128) << QRect(190, 16, 115, 21);
    QTest::newRow("larger font: 26/13")
        << 26 << QSize(1500, 1132) << QRect(32, 814, 1452, 302) << QRect(448, 38, 272, 50);
  }

  void scaling() {
    QFETCH(int, textHeight);
    QFETCH(QSize, windowSize);
    QFETCH(QRect, memo);
    QFETCH(QRect, button7);
    Tform1 form;
    Tform1::ScaleForm(form, Tform1::kDesignTextHeight, textHeight);
    QCOMPARE(form.size(), windowSize);
    QCOMPARE(Control<QWidget>(form, "cxMemo1")->geometry(), memo);
    QCOMPARE(Control<QWidget>(form, "Button7")->geometry(), button7);
  }

  // The font renders at the design's text height here, so the window keeps its design size.
  void fontKeepsDesignSize() {
    Tform1 form;
    QCOMPARE(form.fontMetrics().height(), Tform1::kDesignTextHeight);
  }

  void errorBoxText_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ends in a letter") << "Unknown country"
                                      << "Unknown country.";
    QTest::newRow("ends in a full stop") << "No data."
                                         << "No data.";
    QTest::newRow("ends in a parenthesis (code 41)") << "List index out of bounds (0)"
                                                     << "List index out of bounds (0)";
    QTest::newRow("ends in a blank") << "trailing "
                                     << "trailing ";
    QTest::newRow("ends in a slash (code 47)") << "path/"
                                               << "path/.";
    QTest::newRow("ends in a digit") << "OLE error 80004005"
                                     << "OLE error 80004005.";
    QTest::newRow("ends in a quote (code 39)") << "name 'x'"
                                               << "name 'x'";
    QTest::newRow("date message ends in a letter") << "''x'' is not a valid date"
                                                   << "''x'' is not a valid date.";
    QTest::newRow("ends in a Cyrillic letter") << QString("ошибка") << QString("ошибка.");
    QTest::newRow("empty stays empty") << ""
                                       << "";
  }

  void errorBoxText() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ErrorBoxText(message), shown);
  }

  void applicationTitle_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");
    QTest::newRow("lower-cased after the first") << "/opt/x/DemoTOOL.exe"
                                                 << "Demotool";
    QTest::newRow("cut at the first full stop") << "/opt/x/Demo.Tool.exe"
                                                << "Demo";
    QTest::newRow("no extension") << "/usr/bin/QuorvaneTestCom"
                                  << "Quorvanetestcom";
    QTest::newRow("Windows folders") << "C:\\Program Files\\QUORVANE.EXE"
                                     << "Quorvane";
    QTest::newRow("first character kept as it is") << "/x/qUORVANE"
                                                   << "quorvane";
    QTest::newRow("a dotted folder does not cut") << "/a.b/Tool"
                                                  << "Tool";
  }

  void applicationTitle() {
    QFETCH(QString, path);
    QFETCH(QString, title);
    QCOMPARE(ApplicationTitleFromPath(path), title);
  }

  // Every error of an action reaches the presenter with the title as caption and the full stop
  // rule applied; the action's handler returns normally.
  void errorBoxShowsEveryKind() {
    SetApplicationTitle("Quorvanetestcom");
    test::ErrorBoxCatcher catcher;
    Guarded([] { throw EConvertError(u"'1,5' is not a valid floating point value"); });
    Guarded([] { throw std::runtime_error("out of memory"); });
    Guarded([] { throw 42; });
    Guarded([] {});
    QCOMPARE(catcher.boxes.size(), size_t{3});
    QCOMPARE(catcher.boxes[0].first, QString("Quorvanetestcom"));
    QCOMPARE(catcher.boxes[0].second, QString("'1,5' is not a valid floating point value."));
    QCOMPARE(catcher.boxes[1].second, QString("out of memory."));
    QCOMPARE(catcher.boxes[2].second, QString("Unknown error."));
  }

  // A widget that holds the mouse lets it go before the box shows.
  void errorBoxTakesTheMouseBack() {
    Tform1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QWidget* button = Control<QWidget>(form, "Country");
    button->grabMouse();
    QCOMPARE(QWidget::mouseGrabber(), button);
    QWidget* grabberWhenShown = button;
    const ErrorPresenter former = SetErrorPresenter(
        [&](const QString&, const QString&) { grabberWhenShown = QWidget::mouseGrabber(); });
    Guarded([] { throw Exception(u"x"); });
    SetErrorPresenter(former);
    QCOMPARE(grabberWhenShown, nullptr);
  }

  // The real box: modal, stop icon, one OK button, the title as caption; closed by a timer.
  void realMessageBox() {
    SetApplicationTitle("Demotool");
    Tform1 form;
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    Control<QWidget>(form, "cxMemo1")->setFocus();
    QString caption, text;
    int buttons = 0;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget* owner = nullptr;
    bool modal = false;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box)
        return;
      caption = box->windowTitle();
      text = box->text();
      icon = box->icon();
      // One OK button; "Show Details..." beside it only opens the details.
      for (QAbstractButton* b : box->buttons())
        buttons += box->buttonRole(b) != QMessageBox::ActionRole;
      owner = box->parentWidget();
      modal = box->isModal();
      box->button(QMessageBox::Ok)->click();
    });
    Guarded([] { throw Exception(u"Server object is not created"); });
    QCOMPARE(caption, QString("Demotool"));
    QCOMPARE(text, QString("Server object is not created."));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, 1);
    QCOMPARE(owner, &form);
    QVERIFY(modal);
    // The window takes input again, with the focus where it was.
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(form.isEnabled());
    QTRY_COMPARE(QApplication::focusWidget(), Control<QWidget>(form, "cxMemo1"));
  }

  // The details of each kind of error: what the client holds of a failed server operation.
  void errorDetails_data() {
    QTest::addColumn<std::exception_ptr>("error");
    QTest::addColumn<QString>("details");
    QTest::newRow("server-call error")
        << std::make_exception_ptr(EServerCallError(static_cast<HRESULT>(0x80004005),
                                                    u"Unknown country", u"Quorvane.Automation",
                                                    u"C:\\quorvane.chm", 4711))
        << "Error: EServerCallError\nStatus: 0x80004005\nSource: Quorvane.Automation\n"
           "Help file: C:\\quorvane.chm\nHelp context: 4711";
    QTest::newRow("server-call error without error information")
        << std::make_exception_ptr(
               EServerCallError(static_cast<HRESULT>(0x8000FFFF), u"x", u"", u"", 0))
        << "Error: EServerCallError\nStatus: 0x8000FFFF\nSource: \nHelp file: \nHelp context: 0";
    QTest::newRow("date reading") << std::make_exception_ptr(
                                         EConvertError(u"''x'' is not a valid date"))
                                  << "Error: EConvertError";
    QTest::newRow("list index") << std::make_exception_ptr(
                                       EStringListError(u"List index out of bounds (0)"))
                                << "Error: EStringListError";
    QTest::newRow("other") << std::make_exception_ptr(std::runtime_error("x"))
                           << "Error: std::exception";
  }

  void errorDetails() {
    QFETCH(std::exception_ptr, error);
    QFETCH(QString, details);
    QCOMPARE(ErrorDetailsOf(error), details);
  }

  // The real box keeps the exact message and offers the details under "Show Details"; a message
  // too long to lay out quickly is cut with an ellipsis and given whole in the details.
  void realMessageBoxDetails_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    const QString longMessage = QString(1000000, QLatin1Char('x'));
    QTest::newRow("short") << "Unknown country"
                           << "Unknown country.";
    QTest::newRow("a million characters")
        << longMessage << longMessage.left(kShownMessageLength) + QChar(0x2026);
  }

  void realMessageBoxDetails() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    Tform1 form;
    form.show();
    QString text, details;
    bool hasDetailsButton = false;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box)
        return;
      text = box->text();
      details = box->detailedText();
      for (QAbstractButton* button : box->buttons())
        hasDetailsButton |= button->text().startsWith("Show Details");
      box->button(QMessageBox::Ok)->click();
    });
    const std::u16string m = message.toStdU16String();
    Guarded(
        [&] { throw EServerCallError(static_cast<HRESULT>(0x80020009), m, u"Quorvane", u"", 0); });
    QCOMPARE(text, shown);
    QVERIFY(hasDetailsButton);
    QVERIFY(details.startsWith("Error: EServerCallError\nStatus: 0x80020009\nSource: Quorvane\n"));
    if (message.size() > kShownMessageLength) {
      const qsizetype start = details.indexOf("characters):\n") + 13;
      QCOMPARE(details.mid(start).remove('\n'), ErrorBoxText(message));
    } else {
      QVERIFY(!details.contains(message));
    }
  }

  // A message that holds markup (a reply text, a server's description) is shown as it is, never
  // rendered as rich text.
  void realMessageBoxShowsMarkupAsText() {
    Tform1 form;
    form.show();
    bool rich = true;
    QString shown;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box)
        return;
      auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
      if (label) {
        shown = label->text();
        rich = label->textFormat() == Qt::RichText ||
               (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
      }
      box->button(QMessageBox::Ok)->click();
    });
    Guarded([] { throw EConvertError(u"'1<br>2<b>3</b>' is not a valid floating point value"); });
    QCOMPARE(shown, QString("'1<br>2<b>3</b>' is not a valid floating point value."));
    QVERIFY(!rich);
  }
};

QTEST_MAIN(FormTest)
#include "form_test.moc"
