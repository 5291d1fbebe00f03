#include "uMain.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <cmath>
#include <initializer_list>
#include <string>

#include "AboutBox.h"
#include "ApplicationIcon.h"
#include "CurrencyEdit.h"
#include "DateEdit.h"
#include "ErrorBox.h"
#include "Errors.h"
#include "LocaleSource.h"
#include "Memo.h"
#include "StringListComboBox.h"
#include "Utf.h"
#include "ui_uMain.h"

namespace quorvane {

namespace {

std::u16string U16(const QString& text) {
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

void Tform1::Button1Click() {
  form_.Button1Click();
}

void Tform1::Button2Click() {
  form_.Button2Click();
}

void Tform1::cxCheckBox1PropertiesChange() {
  form_.cxCheckBox1PropertiesChange();
}

void Tform1::Button4Click() {
  form_.Button4Click();
}

void Tform1::Button3Click() {
  form_.Button3Click();
}

void Tform1::Button5Click() {
  form_.Button5Click();
}

void Tform1::Button6Click() {
  form_.Button6Click();
}

void Tform1::Button7Click() {
  form_.Button7Click();
}

void Tform1::Button8Click() {
  form_.Button8Click();
}

void Tform1::CountryClick() {
  form_.CountryClick();
}

template <typename T>
T* Tform1::Child(ControlId control) const {
  T* child = findChild<T*>(QString::fromLatin1(ControlName(control)));
  if (!child)
    throw Exception(u"The form has no control " + FromUtf8(ControlName(control)));
  return child;
}

void Tform1::SetEnabled(ControlId control, bool enabled) {
  Child<QWidget>(control)->setEnabled(enabled);
}

void Tform1::SetFocus(ControlId control) {
  Child<QWidget>(control)->setFocus();
}

std::u16string Tform1::Text(ControlId control) const {
  if (auto* box = qobject_cast<StringListComboBox*>(Child<QWidget>(control)))
    return U16(box->Text());
  return U16(Child<QLineEdit>(control)->text());
}

void Tform1::SetText(ControlId control, std::u16string_view text) {
  const QString qText = QString::fromStdU16String(std::u16string(text));
  if (auto* box = qobject_cast<StringListComboBox*>(Child<QWidget>(control)))
    box->SetText(qText);
  else
    Child<QLineEdit>(control)->setText(qText);
}

StringList& Tform1::Items(ControlId comboBox) {
  return Child<StringListComboBox>(comboBox)->Items();
}

TDateTime Tform1::Date(ControlId dateEdit) const {
  return Child<DateEdit>(dateEdit)->Value();
}

void Tform1::SetValue(ControlId currencyEdit, double value) {
  Child<CurrencyEdit>(currencyEdit)->SetValue(value);
}

bool Tform1::Checked() const {
  return ui->cxCheckBox1->isChecked();
}

void Tform1::SetChecked(bool checked) {
  // The box's toggled signal runs the change handler on a real change only.
  ui->cxCheckBox1->setChecked(checked);
}

void Tform1::AppendToMemo(const std::vector<std::u16string>& texts) {
  Memo::Appender memo(*ui->cxMemo1);
  for (const std::u16string& text : texts)
    memo.AppendLine(QText(text));
}

void Tform1::ShowError(std::exception_ptr error) {
  if (!error)
    return;
  try {
    std::rethrow_exception(error);
  } catch (...) {
    ShowCurrentError();
  }
}

}  // namespace quorvane
