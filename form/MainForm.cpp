#include "MainForm.h"

#include "ErrorText.h"
#include "FormDescription.h"
#include "ValueInForce.h"
#include "ValueToText.h"
#include "uQuorvaneFunc.h"

namespace quorvane {

template <typename Action>
void MainForm::Guarded(Action&& action) noexcept {
  quorvane::Guarded(std::forward<Action>(action),
                    [this](std::exception_ptr error) { view_.ShowError(error); });
}

namespace {

// The entries of the table that a lookup's loader fills.
std::vector<chart::ChartEntry> LoadedEntries(const SeriesLookup& series) {
  if (&series == &kMinimumWageLookup)
    return chart::ChartEntries(MinimumWageTable);
  if (&series == &kFundsRateLookup)
    return chart::ChartEntries(FundsRateTable);
  return chart::ChartEntries(PriceIndexTable);
}

}  // namespace

void MainForm::Loaded(LoadedSeries series) {
  const ControlId group = series.group;
  lastLoaded_ = group;
  view_.SeriesLoaded(loaded_[group] = std::move(series));
}

LoadedSeries MainForm::ChartFor(std::optional<ControlId> group) const {
  if (group)
    if (const auto found = loaded_.find(*group); found != loaded_.end())
      return found->second;
  if (lastLoaded_)
    return loaded_.at(*lastLoaded_);
  LoadedSeries nothing;
  nothing.title = std::u16string(kNothingLoaded);
  return nothing;
}

void MainForm::SetConnected(bool connected) {
  // In this order: Button2, then the group boxes of the working controls.
  for (ControlId control : {ControlId::Button2, ControlId::cxGroupBox1, ControlId::cxGroupBox2,
                            ControlId::cxGroupBox3, ControlId::cxGroupBox4, ControlId::cxGroupBox6,
                            ControlId::cxGroupBox7, ControlId::cxGroupBox8})
    view_.SetEnabled(control, connected);
  view_.SetEnabled(ControlId::Button1, !connected);
}

void MainForm::Button1Click() {
  Guarded([this] {
    if (!CreateServer())
      return;
    SetConnected(true);
    LoadCountryList(view_.Items(ControlId::cxComboBox1));
    for (ControlId box : {ControlId::cxComboBox3, ControlId::cxComboBox4, ControlId::cxComboBox5,
                          ControlId::cxComboBox6})
      LoadFieldValues(u"LetterCode", view_.Items(box));
    view_.SetText(ControlId::cxComboBox1, u"Russia");
    view_.SetEnabled(ControlId::cxCheckBox1, true);
    const bool visible = ServerGetVisible();
    // A real change runs the change handler before this returns; the same state runs nothing.
    view_.SetChecked(visible);
  });
}

void MainForm::Button2Click() {
  Guarded([this] {
    CloseServer();
    SetConnected(false);
    view_.SetEnabled(ControlId::cxCheckBox1, false);
    // The focus left with the disabled controls: it goes to Create, the next thing to do.
    view_.SetFocus(ControlId::Button1);
  });
}

void MainForm::cxCheckBox1PropertiesChange() {
  Guarded([this] { ServerSetVisible(view_.Checked()); });
}

void MainForm::ValueByDate(ControlId button) {
  Guarded([this, button] {
    const LookupDescription& lookup = LookupOf(button);
    lookup.series->Load(view_.Text(ControlId::cxComboBox1));
    const TDateTime day = view_.Date(lookup.dateEdit);
    const Currency value = ValueInForce(*lookup.series, day);
    view_.SetValue(lookup.resultEdit, MoneyToReal(value).ToDouble());
    const ControlId group = *Describe(button).parent;
    LoadedSeries series{
        group,
        std::u16string(Describe(group).text) + u", " + view_.Text(ControlId::cxComboBox1),
        LoadedEntries(*lookup.series),
        {}};
    if (day != kNullDate)
      series.chosen = chart::ChosenDay{day, value};
    Loaded(std::move(series));
  });
}

void MainForm::Button4Click() {
  ValueByDate(ControlId::Button4);
}

void MainForm::Button3Click() {
  ValueByDate(ControlId::Button3);
}

void MainForm::Button5Click() {
  ValueByDate(ControlId::Button5);
}

void MainForm::Button6Click() {
  Guarded([this] {
    const std::u16string value = view_.Text(ControlId::cxTextEdit1);
    const std::u16string fieldName = view_.Text(ControlId::cxComboBox2);
    view_.SetText(ControlId::cxTextEdit2, ServerGetLIDCurrency(fieldName, value));
  });
}

void MainForm::Button7Click() {
  Guarded([this] {
    const std::u16string fromCode = view_.Text(ControlId::cxComboBox3);
    const std::u16string toCode = view_.Text(ControlId::cxComboBox4);
    LoadExchangeList(fromCode, toCode);
    std::vector<std::u16string> lines;
    lines.reserve(ExchangeTable.size() + 1);
    lines.push_back(u"List of ExchangeRate " + fromCode + u"->" + toCode);
    if (ExchangeTable.empty())
      lines.push_back(u"list is clear");
    for (const DateValueRec& entry : ExchangeTable)
      lines.push_back(ShortDateText(entry.Date) + u" " + FourDecimalText(entry.Value));
    view_.AppendToMemo(lines);
    Loaded({ControlId::cxGroupBox7,
            u"ExchangeRate " + fromCode + u"->" + toCode,
            chart::ChartEntries(ExchangeTable),
            {}});
  });
}

void MainForm::Button8Click() {
  Guarded([this] {
    const TDateTime day = view_.Date(ControlId::cxDateEdit4);
    const Currency rate =
        GetRateOnDate(view_.Text(ControlId::cxComboBox5), view_.Text(ControlId::cxComboBox6), day);
    view_.SetText(ControlId::cxTextEdit3, GeneralNumberText(MoneyToReal(rate)));
  });
}

void MainForm::CountryClick() {
  Guarded([this] {
    const std::u16string reply = ServerGetListOfExchangeRate(view_.Text(ControlId::cxComboBox3),
                                                             view_.Text(ControlId::cxComboBox4));
    view_.AppendToMemo({reply});
  });
}

}  // namespace quorvane
