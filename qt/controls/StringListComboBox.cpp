#include "StringListComboBox.h"

#include <QSignalBlocker>

namespace quorvane {

StringListComboBox::StringListComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setDuplicatesEnabled(true);
  setMaxVisibleItems(8);
  // The text is what the user typed: no item completes it or changes its case.
  setCompleter(nullptr);
  items_.SetObserver(this);
}

StringListComboBox::~StringListComboBox() {
  items_.SetObserver(nullptr);
}

void StringListComboBox::TakeItemsFromForm() {
  const QString text = currentText();
  std::vector<std::u16string> texts;
  for (int i = 0; i < count(); ++i)
    texts.push_back(itemText(i).toStdU16String());
  items_.SetObserver(nullptr);
  items_.Clear();
  for (auto& t : texts)
    items_.Add(std::move(t));
  items_.SetObserver(this);
  Changed();
  setEditText(text);
}

void StringListComboBox::Changed() {
  // Replacing the items must not touch the text the user sees or typed.
  const QString text = currentText();
  const QSignalBlocker blocker(this);
  clear();
  QStringList texts;
  texts.reserve(items_.Count());
  for (const auto& item : items_.Items())
    texts.append(QString::fromStdU16String(item));
  addItems(texts);
  setCurrentIndex(-1);
  setEditText(text);
}

}  // namespace quorvane
