#include "AboutBox.h"

#include <optional>
#include <utility>

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <QtGlobal>

#include "AboutText.h"
#include "QuorvaneVersion.h"

// The notice of the data's sources and licences, built into the program with its icon.
static void InitAboutResources() {
  Q_INIT_RESOURCE(QuorvaneTestCom);
}

namespace quorvane {

namespace {

struct FactsCache {
  std::function<AboutFacts()> Source;
  std::optional<AboutFacts> Facts;
};

FactsCache& Cache() {
  static FactsCache cache;
  return cache;
}

const AboutFacts& Facts() {
  FactsCache& cache = Cache();
  if (!cache.Facts)
    cache.Facts = cache.Source ? cache.Source() : AboutFacts{};
  return *cache.Facts;
}

QString DataNotice() {
  InitAboutResources();
  QFile notice(QStringLiteral(":/notices/ATTRIBUTION.md"));
  if (!notice.open(QIODevice::ReadOnly))
    return QStringLiteral("(the notice of the data is missing from this build)");
  return QString::fromUtf8(notice.readAll()).trimmed();
}

}  // namespace

void SetAboutFacts(std::function<AboutFacts()> source) {
  Cache() = FactsCache{std::move(source), std::nullopt};
}

QString AboutText() {
  const AboutFacts& facts = Facts();
  AboutContent content;
  content.version = QString::fromLatin1(kQuorvaneVersion).toStdU16String();
  content.build = QStringLiteral("%1, %2, Qt %3 (running on Qt %4)")
                      .arg(QStringLiteral(QV_BUILD_TYPE), QString::fromStdU16String(CompilerName()),
                           QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion()))
                      .toStdU16String();
  content.catalogueSource = facts.CatalogueSource.toStdU16String();
  for (const QString& line : facts.DataVintage)
    content.dataVintage.push_back(line.toStdU16String());
  content.licences.push_back(
      QStringLiteral("Qt %1: GNU Lesser General Public License v3 (https://www.qt.io/licensing/).")
          .arg(QStringLiteral(QT_VERSION_STR))
          .toStdU16String());
  content.dataNotice = DataNotice().toStdU16String();
  return QString::fromStdU16String(quorvane::AboutText(content));
}

void ShowAboutBox(QWidget* parent) {
  QDialog box(parent);
  box.setObjectName(QStringLiteral("AboutBox"));
  box.setWindowTitle(QStringLiteral("About QuorvaneTestCom"));
  auto* layout = new QVBoxLayout(&box);
  auto* text = new QPlainTextEdit(AboutText(), &box);
  text->setReadOnly(true);
  text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  layout->addWidget(buttons);
  box.resize(640, 480);
  buttons->button(QDialogButtonBox::Ok)->setFocus();
  box.exec();
}

void InstallAboutBox(QWidget& window) {
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), &window);
  f1->setContext(Qt::WindowShortcut);
  QObject::connect(f1, &QShortcut::activated, &window, [&window] { ShowAboutBox(&window); });
}

}  // namespace quorvane
