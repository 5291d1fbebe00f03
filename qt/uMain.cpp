#include "uMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>
#include <limits>
#include <optional>
#include <string>

#include "AboutBox.h"
#include "ApplicationIcon.h"
#include "CallLogWindow.h"
#include "ChartWindow.h"
#include "CurrencyEdit.h"
#include "DateEdit.h"
#include "ErrorBox.h"
#include "Errors.h"
#include "LocaleSource.h"
#include "Memo.h"
#include "StringListComboBox.h"
#include "Utf.h"

namespace quorvane {

namespace {

std::u16string U16(const QString& text) {
  return text.toStdU16String();
}

QString QText(std::u16string_view text) {
  return QString::fromStdU16String(std::u16string(text));
}

// The group boxes' frames and captions, drawn alike under every style.
const char kGroupBoxStyle[] =
    "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }\n"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 7px; "
    "padding: 0px 2px; }";

// The controls that take the focus by Tab, in the order Tab visits them: the controls of the
// window by their tab places, the content of a group box at the group box's place.
void AddTabChain(std::optional<ControlId> parent, std::vector<ControlId>& chain) {
  std::vector<const ControlDescription*> children;
  for (const ControlDescription& control : FormControls())
    if (control.parent == parent && control.tab != kNoTabStop)
      children.push_back(&control);
  std::stable_sort(children.begin(), children.end(),
                   [](const auto* a, const auto* b) { return a->tab < b->tab; });
  for (const ControlDescription* child : children) {
    if (child->kind == ControlKind::GroupBox)
      AddTabChain(child->id, chain);
    else
      chain.push_back(child->id);
  }
}

}  // namespace

Tform1::Tform1(QWidget* parent) : QWidget(parent) {
  setObjectName(QString::fromLatin1(kFormWindow.name));
  QFont font(QText(kFormWindow.fontName));
  font.setPixelSize(-kFormWindow.fontHeight);
  setFont(font);
  setWindowTitle(QText(kFormWindow.caption));
  for (const ControlDescription& control : FormControls()) {
    QWidget& parentWidget = control.parent ? *Child<QWidget>(*control.parent) : *this;
    controls_.push_back(CreateControl(control, parentWidget));
  }
  // Once the controls are made: set before, it left the controls inside the group boxes with the
  // application's font instead of the window's.
  setStyleSheet(QString::fromLatin1(kGroupBoxStyle));
  std::vector<ControlId> chain;
  AddTabChain(std::nullopt, chain);
  for (std::size_t i = 1; i < chain.size(); ++i)
    QWidget::setTabOrder(Child<QWidget>(chain[i - 1]), Child<QWidget>(chain[i]));
  ScaleForm(*this, kDesignTextHeight, QFontMetrics(font).height());
  setWindowIcon(ApplicationIcon());
  InstallAboutBox(*this);
  auto* chart = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), this);
  chart->setContext(Qt::WindowShortcut);
  connect(chart, &QShortcut::activated, this, [this] {
    const std::optional<ControlId> focused = FocusedControl();
    ShowChart(focused ? ChartGroupOf(*focused) : std::nullopt);
  });
  // One action for the key and the memo's menu, which shows it.
  auto* callLog = new QAction(QText(kCallLogMenuText), this);
  callLog->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(kCallLogKey)));
  callLog->setShortcutContext(Qt::WindowShortcut);
  connect(callLog, &QAction::triggered, this, &Tform1::ShowCallLog);
  addAction(callLog);
  Child<Memo>(ControlId::cxMemo1)->addAction(callLog);
}

void Tform1::ShowCallLog() {
  if (!callLog_) {
    callLog_ = new CallLogWindow(this);
    callLog_->setWindowIcon(windowIcon());
  }
  callLog_->ShowWindow();
}

void Tform1::ShowChart(std::optional<ControlId> group) {
  if (!chart_) {
    chart_ = new ChartWindow(this);
    chart_->setWindowIcon(windowIcon());
    chart_->setFont(font());
  }
  chart_->ShowSeries(form_.ChartFor(group));
}

void Tform1::SeriesLoaded(const LoadedSeries& series) {
  if (chart_ && chart_->isVisible())
    chart_->Follow(series);
}

std::optional<ControlId> Tform1::FocusedControl() const {
  for (const QWidget* widget = QApplication::focusWidget(); widget;
       widget = widget->parentWidget()) {
    const auto at = std::find(controls_.begin(), controls_.end(), widget);
    if (at != controls_.end())
      return static_cast<ControlId>(at - controls_.begin());
  }
  return std::nullopt;
}

Tform1::~Tform1() = default;

QWidget* Tform1::CreateControl(const ControlDescription& control, QWidget& parent) {
  QWidget* widget = nullptr;
  switch (control.kind) {
    case ControlKind::PushButton:
      widget = new QPushButton(QText(control.text), &parent);
      break;
    case ControlKind::GroupBox:
      widget = new QGroupBox(QText(control.text), &parent);
      // A group whose loads can be drawn offers its chart from its context menu.
      if (IsChartGroup(control.id)) {
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(widget, &QWidget::customContextMenuRequested, this,
                [this, id = control.id, widget](const QPoint& at) {
                  QMenu menu(widget);
                  menu.addAction(tr("Chart..."), QKeySequence(Qt::CTRL | Qt::Key_G), this,
                                 [this, id] { ShowChart(id); });
                  menu.exec(widget->mapToGlobal(at));
                });
      }
      break;
    case ControlKind::ComboBox: {
      auto* box = new StringListComboBox(&parent);
      {
        const StringList::Update update(box->Items());
        for (std::u16string_view item : control.items)
          box->Items().Add(std::u16string(item));
      }
      box->SetText(QText(control.text));
      widget = box;
      break;
    }
    case ControlKind::DateEdit: {
      auto* editor = new DateEdit(&parent);
      if (control.date != kNullDate)
        editor->SetValue(control.date);
      widget = editor;
      break;
    }
    case ControlKind::CurrencyEdit:
      widget = new CurrencyEdit(&parent);
      break;
    case ControlKind::Label:
      widget = new QLabel(QText(control.text), &parent);
      break;
    case ControlKind::CheckBox:
      widget = new QCheckBox(QText(control.text), &parent);
      break;
    case ControlKind::Memo: {
      auto* memo = new Memo(&parent);
      memo->setPlainText(QText(control.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
      widget = memo;
      break;
    }
    case ControlKind::TextEdit: {
      auto* editor = new QLineEdit(QText(control.text), &parent);
      // Any length: the default limit would cut long replies.
      editor->setMaxLength(std::numeric_limits<int>::max());
      widget = editor;
      break;
    }
  }
  widget->setObjectName(QString::fromLatin1(control.name));
  if (!control.enabled)
    widget->setEnabled(false);
  ConnectHandler(control, *widget);
  return widget;
}

// A button's click or the check box's change of state runs the handler the description names.
void Tform1::ConnectHandler(const ControlDescription& control, QWidget& widget) {
  if (!control.handler)
    return;
  const auto run = [this, handler = control.handler] { (form_.*handler)(); };
  if (auto* box = qobject_cast<QCheckBox*>(&widget))
    connect(box, &QCheckBox::toggled, this, run);
  else if (auto* button = qobject_cast<QPushButton*>(&widget))
    connect(button, &QPushButton::clicked, this, run);
  else
    throw Exception(u"The control " + FromUtf8(control.name) + u" has no event for its handler");
}

void Tform1::ScaleForm(QWidget& form, int designTextHeight, int textHeight) {
  const FormLayout layout(textHeight, kQtAutoSizes, designTextHeight);
  const ControlPlace area = layout.ClientArea();
  form.resize(area.width, area.height);
  for (const ControlDescription& control : FormControls()) {
    auto* widget = form.findChild<QWidget*>(QString::fromLatin1(control.name));
    if (!widget)
      continue;
    // A label is as wide as its caption; the size hints of other controls are not asked for.
    const int captionWidth = control.kind == ControlKind::Label ? widget->sizeHint().width() : 0;
    const ControlPlace place = layout.PlaceOf(control, captionWidth);
    widget->setGeometry(place.left, place.top, place.width, place.height);
  }
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

template <typename T>
T* Tform1::Child(ControlId control) const {
  const auto at = static_cast<std::size_t>(control);
  T* child = at < controls_.size() ? qobject_cast<T*>(controls_[at]) : nullptr;
  if (!child)
    throw Exception(u"The form has no control " + FromUtf8(ControlName(control)) +
                    u" of that kind");
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
  return Child<QCheckBox>(ControlId::cxCheckBox1)->isChecked();
}

void Tform1::SetChecked(bool checked) {
  // The box's toggled signal runs the change handler on a real change only.
  Child<QCheckBox>(ControlId::cxCheckBox1)->setChecked(checked);
}

void Tform1::AppendToMemo(const std::vector<std::u16string>& texts) {
  Memo::Appender memo(*Child<Memo>(ControlId::cxMemo1));
  for (const std::u16string& text : texts)
    memo.AppendLine(QText(text));
}

void Tform1::ShowError(std::exception_ptr error) {
  ShowErrorInBox(error);
}

}  // namespace quorvane
