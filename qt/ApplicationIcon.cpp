#include "ApplicationIcon.h"

// The resource lives in a static library: naming its initializer keeps it in the program.
static void InitIconResource() {
  Q_INIT_RESOURCE(QuorvaneTestCom);
}

namespace quorvane {

QIcon ApplicationIcon() {
  InitIconResource();
  QIcon icon;
  for (int size : {16, 32, 48})
    icon.addFile(QStringLiteral(":/icons/QuorvaneTestCom-%1.png").arg(size), QSize(size, size));
  return icon;
}

}  // namespace quorvane
