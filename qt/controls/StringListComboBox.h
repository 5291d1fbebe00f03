#pragma once
// An editable drop-down list whose items are a client string list: the loaders fill the list in
// place and the drop-down follows. Unsorted, duplicates kept, typed text never added as an item.

#include <QComboBox>

#include "StringList.h"

namespace quorvane {

class StringListComboBox : public QComboBox, private StringListObserver {
  Q_OBJECT

 public:
  explicit StringListComboBox(QWidget* parent = nullptr);
  ~StringListComboBox() override;

  StringList& Items() { return items_; }
  const StringList& Items() const { return items_; }

  // The one-line text, as typed or set.
  QString Text() const { return currentText(); }
  void SetText(const QString& text) { setEditText(text); }

  // Moves the items that the form description gave into the string list, keeping the text.
  void TakeItemsFromForm();

 private:
  void Changing() override {}
  void Changed() override;

  StringList items_;
};

}  // namespace quorvane
