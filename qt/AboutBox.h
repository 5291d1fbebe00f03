#pragma once
// The About box (F1 on the main window): the program's version and build, how recent the data are
// and what the currency catalogue was made from, and the licences of what the program ships.

#include <functional>

#include <QString>
#include <QStringList>

class QWidget;

namespace quorvane {

// What only the program entry knows: the embedded server's data. The window knows none of it.
struct AboutFacts {
  QStringList DataVintage;  // one line per series and rate table; empty when not known
  QString CatalogueSource;  // such as "Unicode CLDR 42 via ICU 72.1"; empty when not known
};
// Where the facts come from: asked once, when the box first needs them, so that start-up does not
// read the whole built-in data for a box that may never open. No source: nothing is known.
void SetAboutFacts(std::function<AboutFacts()> source);

// The whole text of the box.
QString AboutText();
// Shows the box over the window, modal.
void ShowAboutBox(QWidget* parent);
// F1 on the window opens the box.
void InstallAboutBox(QWidget& window);

}  // namespace quorvane
