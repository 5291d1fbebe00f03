// The form description that both windows are made from, held to the window as designed: every
// control's row, the window's own properties, the start texts, and the three lookups.

#include "FormDescription.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "DesignedForm.h"
#include "Errors.h"
#include "Utf.h"
#include "ValueInForce.h"

using namespace quorvane;
namespace designed = quorvane::designed;

namespace {

// The form's handlers by their names.
const std::map<std::string, FormHandler> kHandlers = {
    {"Button1Click", &MainForm::Button1Click},
    {"Button2Click", &MainForm::Button2Click},
    {"cxCheckBox1PropertiesChange", &MainForm::cxCheckBox1PropertiesChange},
    {"Button4Click", &MainForm::Button4Click},
    {"Button3Click", &MainForm::Button3Click},
    {"Button5Click", &MainForm::Button5Click},
    {"Button6Click", &MainForm::Button6Click},
    {"Button7Click", &MainForm::Button7Click},
    {"Button8Click", &MainForm::Button8Click},
    {"CountryClick", &MainForm::CountryClick},
};

std::u16string MemoStartText() {
  std::u16string text;
  for (const char16_t* line : designed::kMemoLines)
    text += std::u16string(line) + u"\r\n";
  return text;
}

TEST(FormDescription, EveryControlIsTheDesignedOneInTheOrderOfCreation) {
  const auto controls = FormControls();
  ASSERT_EQ(controls.size(), std::size(designed::kControls));
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const ControlDescription& got = controls[i];
    const designed::Control& want = designed::kControls[i];
    SCOPED_TRACE(want.name);
    EXPECT_STREQ(got.name, want.name);
    EXPECT_EQ(got.kind, want.kind);
    EXPECT_EQ(got.parent ? std::string(ControlName(*got.parent)) : std::string(designed::W),
              want.parent);
    EXPECT_EQ(got.left, want.left);
    EXPECT_EQ(got.top, want.top);
    EXPECT_EQ(got.width == kAutoSize ? designed::kAuto : got.width, want.width);
    EXPECT_EQ(got.height == kAutoSize ? designed::kAuto : got.height, want.height);
    EXPECT_EQ(std::u16string(got.text), want.text ? want.text : MemoStartText());
    std::vector<std::u16string> items(got.items.begin(), got.items.end());
    std::vector<std::u16string> wantItems;
    if (want.fieldNameItems)
      wantItems.assign(std::begin(designed::kFieldNames), std::end(designed::kFieldNames));
    EXPECT_EQ(items, wantItems);
    EXPECT_EQ(got.enabled, want.enabled);
    EXPECT_EQ(got.tab == kNoTabStop ? designed::kNoTab : got.tab, want.tab);
    const auto handler = kHandlers.find(want.handler);
    EXPECT_EQ(got.handler, handler == kHandlers.end() ? nullptr : handler->second);
    EXPECT_EQ(got.date,
              std::string(want.name) == designed::kDatedEditor ? designed::kStartDate : kNullDate);
  }
  EXPECT_EQ(designed::kStartDate,
            EncodeDay(designed::kStartYear, designed::kStartMonth, designed::kStartDay));
}

TEST(FormDescription, TheWindowsOwnProperties) {
  EXPECT_STREQ(kFormWindow.name, designed::kWindowName);
  EXPECT_STREQ(kFormWindow.className, designed::kWindowClass);
  EXPECT_EQ(kFormWindow.caption, designed::kCaption);
  EXPECT_EQ(kFormWindow.clientWidth, designed::kClientWidth);
  EXPECT_EQ(kFormWindow.clientHeight, designed::kClientHeight);
  EXPECT_EQ(kFormWindow.fontName, designed::kFontName);
  EXPECT_EQ(kFormWindow.fontHeight, designed::kFontHeight);
  EXPECT_EQ(kFormWindow.pixelsPerInch, designed::kPixelsPerInch);
  EXPECT_EQ(kFormWindow.designTextHeight, designed::kDesignTextHeight);
}

// A view finds a control by its id or its name, and makes a parent before what it holds; the
// native view, which makes the controls of one parent in the table's order, gets the tab order
// from that order.
TEST(FormDescription, NamesIdsParentsAndTabOrderAgree) {
  std::map<std::optional<ControlId>, int> lastTab;
  for (const ControlDescription& control : FormControls()) {
    SCOPED_TRACE(control.name);
    EXPECT_EQ(&Describe(control.id), &control);
    EXPECT_EQ(ControlNamed(control.name), std::optional<ControlId>(control.id));
    EXPECT_STREQ(ControlName(control.id), control.name);
    if (control.parent) {
      EXPECT_LT(*control.parent, control.id);
      EXPECT_EQ(Describe(*control.parent).kind, ControlKind::GroupBox);
    }
    if (control.tab != kNoTabStop) {
      const auto last = lastTab.find(control.parent);
      if (last != lastTab.end()) {
        EXPECT_GT(control.tab, last->second);
      }
      lastTab[control.parent] = control.tab;
    }
    EXPECT_EQ(control.handler != nullptr,
              control.kind == ControlKind::PushButton || control.kind == ControlKind::CheckBox);
  }
  EXPECT_EQ(ControlNamed("cxLabel6"), std::nullopt);
  EXPECT_EQ(ControlNamed(""), std::nullopt);
  EXPECT_THROW(Describe(static_cast<ControlId>(FormControls().size())), Exception);
}

TEST(FormDescription, TheThreeLookups) {
  const SeriesLookup* series[] = {&kMinimumWageLookup, &kFundsRateLookup, &kPriceIndexLookup};
  const auto lookups = FormLookups();
  ASSERT_EQ(lookups.size(), std::size(designed::kLookups));
  for (std::size_t i = 0; i < lookups.size(); ++i) {
    const designed::Lookup& want = designed::kLookups[i];
    SCOPED_TRACE(want.button);
    EXPECT_STREQ(ControlName(lookups[i].button), want.button);
    EXPECT_STREQ(ControlName(lookups[i].dateEdit), want.dateEdit);
    EXPECT_STREQ(ControlName(lookups[i].resultEdit), want.resultEdit);
    EXPECT_EQ(lookups[i].series, series[i]);
    for (ControlId inside : {lookups[i].button, lookups[i].dateEdit, lookups[i].resultEdit})
      EXPECT_STREQ(ControlName(*Describe(inside).parent), want.group);
    EXPECT_EQ(&LookupOf(lookups[i].button), &lookups[i]);
  }
  EXPECT_THROW(LookupOf(ControlId::Button6), Exception);
}

}  // namespace
