#include "AboutText.h"

#include "Utf.h"

namespace quorvane {

std::u16string AboutText(const AboutContent& content) {
  std::u16string text = u"QuorvaneTestCom " + content.version + u"\n";
  text += u"Build: " + content.build + u"\n";
  text += u"\nCurrency catalogue: " +
          (content.catalogueSource.empty() ? u"not known" : content.catalogueSource) + u"\n";
  text += u"\nData (last observation of each series and rate table):\n";
  if (content.dataVintage.empty())
    text += u"  not known\n";
  for (const std::u16string& line : content.dataVintage)
    text += u"  " + line + u"\n";
  text += u"\nLicences:\n";
  for (const std::u16string& line : content.licences)
    text += u"  " + line + u"\n";
  text += u"  The reference data are shipped under the terms of their publishers:\n\n";
  text += content.dataNotice;
  text += u"\n";
  return text;
}

std::u16string CompilerName() {
#if defined(__clang__)
  return u"clang " + FromUtf8(__clang_version__);
#elif defined(__GNUC__)
  return u"GCC " + FromUtf8(__VERSION__);
#elif defined(_MSC_VER)
  return u"MSVC " + FromUtf8(std::to_string(_MSC_VER));
#else
  return u"an unknown compiler";
#endif
}

}  // namespace quorvane
