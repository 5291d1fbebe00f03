#include "uMain.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <cmath>
#include <initializer_list>
#include <string>

#include "AboutBox.h"
#include "ApplicationIcon.h"
#include "CurrencyEdit.h"
#include "DateEdit.h"
#include "ErrorBox.h"
#include "LocaleSource.h"
#include "ValueToText.h"
#include "uQuorvaneFunc.h"
#include "ui_uMain.h"

namespace quorvane {

namespace {

std::u16string Text(const QString& text) {
  return text.toStdU16String();
}

QString QText(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

void ScaleRect(QWidget& widget, double ratio) {
  const QRect r = widget.geometry();
  const auto scaled = [ratio](int v) { return static_cast<int>(std::lround(v * ratio)); };
  widget.setGeometry(scaled(r.x()), scaled(r.y()), scaled(r.width()), scaled(r.height()));
}

// The controls of the form and of its group boxes; the inner parts of composite controls place
// themselves.
void ScaleChildren(QWidget& parent, double ratio) {
  for (QObject* child : parent.children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (!widget || widget->isWindow())
      continue;
    ScaleRect(*widget, ratio);
    if (qobject_cast<QGroupBox*>(widget))
      ScaleChildren(*widget, ratio);
  }
}

}  // namespace

Tform1::Tform1(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::Tform1>()) {
  setObjectName(QStringLiteral("form1"));
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(11);
  setFont(font);
  ui->setupUi(this);
  for (auto* box : {ui->cxComboBox1, ui->cxComboBox2, ui->cxComboBox3, ui->cxComboBox4,
                    ui->cxComboBox5, ui->cxComboBox6})
    box->TakeItemsFromForm();
  // The one date of the form: the description holds texts, not the dates of these editors.
  ui->cxDateEdit4->SetDate(QDate(2010, 10, 8));
  ScaleForm(*this, kDesignTextHeight, QFontMetrics(font).height());
  // Labels are as wide as their captions, so that none covers the editor beside it.
  for (QLabel* label : findChildren<QLabel*>())
    label->resize(label->sizeHint().width(), label->height());
  setWindowIcon(ApplicationIcon());
  InstallAboutBox(*this);
  ConnectHandlers();
}

Tform1::~Tform1() = default;

void Tform1::ScaleForm(QWidget& form, int designTextHeight, int textHeight) {
  if (textHeight == designTextHeight || designTextHeight <= 0 || textHeight <= 0)
    return;
  const double ratio = static_cast<double>(textHeight) / designTextHeight;
  const QSize size = form.size();
  form.resize(static_cast<int>(std::lround(size.width() * ratio)),
              static_cast<int>(std::lround(size.height() * ratio)));
  ScaleChildren(form, ratio);
}

void Tform1::ConnectHandlers() {
  connect(ui->Button1, &QPushButton::clicked, this, &Tform1::Button1Click);
  connect(ui->Button2, &QPushButton::clicked, this, &Tform1::Button2Click);
  connect(ui->cxCheckBox1, &QCheckBox::toggled, this, &Tform1::cxCheckBox1PropertiesChange);
  connect(ui->Button4, &QPushButton::clicked, this, &Tform1::Button4Click);
  connect(ui->Button3, &QPushButton::clicked, this, &Tform1::Button3Click);
  connect(ui->Button5, &QPushButton::clicked, this, &Tform1::Button5Click);
  connect(ui->Button6, &QPushButton::clicked, this, &Tform1::Button6Click);
  connect(ui->Button7, &QPushButton::clicked, this, &Tform1::Button7Click);
  connect(ui->Button8, &QPushButton::clicked, this, &Tform1::Button8Click);
  connect(ui->Country, &QPushButton::clicked, this, &Tform1::CountryClick);
}

void Tform1::changeEvent(QEvent* event) {
  // A change of the system's locale is read into the settings. The controls were told of it
  // before the window, under the former settings, so the editors that show values by the settings
  // are told again.
  if (event->type() == QEvent::LocaleChange) {
    ReadLocaleSettings();
    const auto tellAgain = [](QWidget* editor) {
      QEvent again(QEvent::LocaleChange);
      QCoreApplication::sendEvent(editor, &again);
    };
    for (DateEdit* editor : findChildren<DateEdit*>())
      tellAgain(editor);
    for (CurrencyEdit* editor : findChildren<CurrencyEdit*>())
      tellAgain(editor);
  }
  QWidget::changeEvent(event);
}

void Tform1::SetConnected(bool connected) {
  // In this order: Button2, then the group boxes of the working controls.
  for (QWidget* control : std::initializer_list<QWidget*>{
           ui->Button2, ui->cxGroupBox1, ui->cxGroupBox2, ui->cxGroupBox3, ui->cxGroupBox4,
           ui->cxGroupBox6, ui->cxGroupBox7, ui->cxGroupBox8})
    control->setEnabled(connected);
  ui->Button1->setEnabled(!connected);
}

void Tform1::Button1Click() {
  Guarded([this] {
    if (!CreateServer())
      return;
    SetConnected(true);
    LoadCountryList(ui->cxComboBox1->Items());
    for (auto* box : {ui->cxComboBox3, ui->cxComboBox4, ui->cxComboBox5, ui->cxComboBox6})
      LoadFieldValues(u"LetterCode", box->Items());
    ui->cxComboBox1->SetText(QStringLiteral("Russia"));
    ui->cxCheckBox1->setEnabled(true);
    const bool visible = ServerGetVisible();
    // A real change runs the change handler before this returns; the same state runs nothing.
    ui->cxCheckBox1->setChecked(visible);
  });
}

void Tform1::Button2Click() {
  Guarded([this] {
    CloseServer();
    SetConnected(false);
    ui->cxCheckBox1->setEnabled(false);
    // The focus left with the disabled controls: it goes to Create, the next thing to do.
    ui->Button1->setFocus();
  });
}

void Tform1::cxCheckBox1PropertiesChange() {
  Guarded([this] { ServerSetVisible(ui->cxCheckBox1->isChecked()); });
}

void Tform1::Button4Click() {
  Guarded([this] {
    LoadMinimumWage(Text(ui->cxComboBox1->Text()));
    const TDate day = WholeDayCut(ui->cxDateEdit1->Value());
    Currency value;
    for (const MinimumWageRec& entry : MinimumWageTable) {
      if (!(day > entry.Date))
        break;
      value = entry.mValue1;
    }
    ui->cxCurrencyEdit1->SetValue(MoneyToReal(value).ToDouble());
  });
}

void Tform1::Button3Click() {
  Guarded([this] {
    LoadFundsRate(Text(ui->cxComboBox1->Text()));
    const TDate day = WholeDayCut(ui->cxDateEdit2->Value());
    Currency value;
    // From the last entry back to the first.
    for (auto entry = FundsRateTable.rbegin(); entry != FundsRateTable.rend(); ++entry) {
      if (!(day > entry->Date))
        break;
      value = entry->Value;
    }
    ui->cxCurrencyEdit2->SetValue(MoneyToReal(value).ToDouble());
  });
}

void Tform1::Button5Click() {
  Guarded([this] {
    LoadPriceIndex(Text(ui->cxComboBox1->Text()));
    const TDate day = WholeDayCut(ui->cxDateEdit3->Value());
    Currency value;
    for (const DateValueRec& entry : PriceIndexTable) {
      if (!(day >= entry.Date))
        break;
      value = entry.Value;
    }
    ui->cxCurrencyEdit3->SetValue(MoneyToReal(value).ToDouble());
  });
}

void Tform1::Button6Click() {
  Guarded([this] {
    const std::u16string value = Text(ui->cxTextEdit1->text());
    const std::u16string fieldName = Text(ui->cxComboBox2->Text());
    ui->cxTextEdit2->setText(QText(ServerGetLIDCurrency(fieldName, value)));
  });
}

void Tform1::Button7Click() {
  Guarded([this] {
    const QString fromCode = ui->cxComboBox3->Text();
    const QString toCode = ui->cxComboBox4->Text();
    LoadExchangeList(Text(fromCode), Text(toCode));
    Memo::Appender memo(*ui->cxMemo1);
    memo.AppendLine(QStringLiteral("List of ExchangeRate ") + fromCode + QStringLiteral("->") +
                    toCode);
    if (ExchangeTable.empty()) {
      memo.AppendLine(QStringLiteral("list is clear"));
      return;
    }
    for (const DateValueRec& entry : ExchangeTable)
      memo.AppendLine(QText(ShortDateText(entry.Date) + u" " + FourDecimalText(entry.Value)));
  });
}

void Tform1::Button8Click() {
  Guarded([this] {
    const TDateTime day = ui->cxDateEdit4->Value();
    const Currency rate =
        GetRateOnDate(Text(ui->cxComboBox5->Text()), Text(ui->cxComboBox6->Text()), day);
    ui->cxTextEdit3->setText(QText(GeneralNumberText(MoneyToReal(rate))));
  });
}

void Tform1::CountryClick() {
  Guarded([this] {
    const std::u16string reply =
        ServerGetListOfExchangeRate(Text(ui->cxComboBox3->Text()), Text(ui->cxComboBox4->Text()));
    ui->cxMemo1->AppendLine(QText(reply));
  });
}

}  // namespace quorvane
