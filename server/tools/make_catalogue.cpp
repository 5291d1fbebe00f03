// Writes the server's currency catalogue (CSV, UTF-8, LF line ends) from the locale data of ICU:
// every currency that is legal tender in some territory on the catalogue date, with its names in
// English and in the main language of its issuing territory.
//
//   make_catalogue              writes the catalogue to standard output
//   make_catalogue FILE         writes it to FILE
//   make_catalogue --check FILE exits with 1 (and says where) when FILE differs from it
//
// Runs on the build machine only: the server reads the committed output, never ICU.

#include <unicode/ucurr.h>
#include <unicode/uenum.h>
#include <unicode/uloc.h>
#include <unicode/ulocdata.h>
#include <unicode/ures.h>
#include <unicode/ustring.h>
#include <unicode/uversion.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "DataVintage.h"

namespace {

// The day the catalogue describes: fixed, so that the output depends on the ICU data only.
constexpr double kCatalogueDateMillis = 20454.0 * 86400000.0;  // 2026-01-01T00:00:00Z

// Currencies used by several territories none of which their code names: the seat of the
// issuing central bank.
const std::map<std::string, std::string> kIssuerSeats = {
    {"ANG", "CW"},  // Central Bank of Curacao and Sint Maarten
    {"XAF", "CM"},  // Bank of Central African States, Yaounde
    {"XCD", "KN"},  // Eastern Caribbean Central Bank, Basseterre
    {"XOF", "SN"},  // Central Bank of West African States, Dakar
    {"XPF", "NC"},  // overseas issuing institute; New Caledonia is the largest user
};

void Check(UErrorCode status, const char* what) {
  if (U_FAILURE(status))
    throw std::runtime_error(std::string(what) + ": " + u_errorName(status));
}

std::string ToUtf8(const UChar* text, int32_t length) {
  UErrorCode status = U_ZERO_ERROR;
  std::string out(static_cast<size_t>(length) * 3 + 1, '\0');
  int32_t written = 0;
  u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &written, text, length, &status);
  Check(status, "u_strToUTF8");
  out.resize(static_cast<size_t>(written));
  return out;
}

std::u16string Code16(const std::string& code) {
  return std::u16string(code.begin(), code.end());
}

// A currency name from ICU; nothing when ICU has only the root fallback (the code itself).
std::string CurrencyName(const std::string& code, const std::string& locale, UCurrNameStyle style) {
  UErrorCode status = U_ZERO_ERROR;
  UBool isChoice = false;
  int32_t length = 0;
  std::u16string iso = Code16(code);
  const UChar* name = ucurr_getName(reinterpret_cast<const UChar*>(iso.c_str()), locale.c_str(),
                                    style, &isChoice, &length, &status);
  Check(status, "ucurr_getName");
  return ToUtf8(name, length);
}

std::string RegionName(const std::string& region, const std::string& locale) {
  UErrorCode status = U_ZERO_ERROR;
  UChar buffer[256];
  std::string id = "und_" + region;
  int32_t length = uloc_getDisplayCountry(id.c_str(), locale.c_str(), buffer, 256, &status);
  Check(status, "uloc_getDisplayCountry");
  return ToUtf8(buffer, length);
}

// The most likely language of a territory, as CLDR's likely subtags give it.
std::string MainLanguage(const std::string& region) {
  UErrorCode status = U_ZERO_ERROR;
  char likely[ULOC_FULLNAME_CAPACITY];
  std::string id = "und_" + region;
  uloc_addLikelySubtags(id.c_str(), likely, sizeof likely, &status);
  Check(status, "uloc_addLikelySubtags");
  char language[ULOC_LANG_CAPACITY];
  uloc_getLanguage(likely, language, sizeof language, &status);
  Check(status, "uloc_getLanguage");
  return language;
}

// A date of a currency entry of CLDR's supplemental data, in milliseconds since 1970.
double EntryMillis(UResourceBundle* entry, const char* key, double missing) {
  UErrorCode status = U_ZERO_ERROR;
  UResourceBundle* value = ures_getByKey(entry, key, nullptr, &status);
  double millis = missing;
  int32_t length = 0;
  const int32_t* pair = U_SUCCESS(status) ? ures_getIntVector(value, &length, &status) : nullptr;
  if (U_SUCCESS(status) && pair && length == 2)
    millis = static_cast<double>((static_cast<std::int64_t>(pair[0]) << 32) |
                                 static_cast<std::uint32_t>(pair[1]));
  ures_close(value);
  return millis;
}

// Currency code -> territories where it is legal tender on the catalogue date, read from the
// currency map of CLDR's supplemental data (entries marked tender="false" are left out).
std::map<std::string, std::set<std::string>> CurrentTenders() {
  std::map<std::string, std::set<std::string>> tenders;
  UErrorCode status = U_ZERO_ERROR;
  UResourceBundle* data = ures_openDirect(U_ICUDATA_NAME "-curr", "supplementalData", &status);
  UResourceBundle* map = ures_getByKey(data, "CurrencyMap", nullptr, &status);
  Check(status, "CurrencyMap");
  for (int32_t i = 0; i < ures_getSize(map); ++i) {
    UResourceBundle* region = ures_getByIndex(map, i, nullptr, &status);
    Check(status, "CurrencyMap region");
    for (int32_t j = 0; j < ures_getSize(region); ++j) {
      UResourceBundle* entry = ures_getByIndex(region, j, nullptr, &status);
      UResourceBundle* id = ures_getByKey(entry, "id", nullptr, &status);
      int32_t length = 0;
      const UChar* code = ures_getString(id, &length, &status);
      Check(status, "CurrencyMap entry");
      UErrorCode tenderStatus = U_ZERO_ERROR;
      UResourceBundle* tender = ures_getByKey(entry, "tender", nullptr, &tenderStatus);
      bool notTender = U_SUCCESS(tenderStatus);
      ures_close(tender);
      bool current = EntryMillis(entry, "from", -1e300) <= kCatalogueDateMillis &&
                     kCatalogueDateMillis < EntryMillis(entry, "to", 1e300);
      if (current && !notTender && length == 3)
        tenders[ToUtf8(code, length)].insert(ures_getKey(region));
      ures_close(id);
      ures_close(entry);
    }
    ures_close(region);
  }
  ures_close(map);
  ures_close(data);
  return tenders;
}

std::string IssuingTerritory(const std::string& code, const std::set<std::string>& territories) {
  std::string prefix = code.substr(0, 2);
  if (territories.count(prefix))
    return prefix;
  if (auto seat = kIssuerSeats.find(code); seat != kIssuerSeats.end())
    return seat->second;
  if (territories.size() == 1)
    return *territories.begin();
  std::string list;
  for (const auto& t : territories)
    list += " " + t;
  throw std::runtime_error("no issuing territory known for " + code + " (used in" + list + ")");
}

std::string CsvField(const std::string& value) {
  bool quote = value.empty() || value.front() == ' ' || value.back() == ' ' ||
               value.find_first_of(",\"\r\n") != std::string::npos;
  if (!quote)
    return value;
  std::string out = "\"";
  for (char c : value) {
    if (c == '"')
      out += '"';
    out += c;
  }
  return out + "\"";
}

std::string NonEmpty(std::string value, const std::string& fallback) {
  return value.empty() ? fallback : value;
}

std::string MakeCatalogue() {
  // A name that a national locale lacks falls back through the default locale: make that English
  // whatever the environment says, so the output depends on the ICU data alone.
  UErrorCode status = U_ZERO_ERROR;
  uloc_setDefault("en", &status);
  Check(status, "uloc_setDefault");
  std::ostringstream out;
  out << "LetterCode,Currency_International,CurrencyShrt_International,NumericCode,"
         "CountryName_National,CountryName_International,Currency_National,"
         "CurrencyShrt_National\n";
  for (const auto& [code, territories] : CurrentTenders()) {
    std::u16string iso = Code16(code);
    int32_t numeric = ucurr_getNumericCode(reinterpret_cast<const UChar*>(iso.c_str()));
    if (numeric <= 0 || numeric > 999)
      throw std::runtime_error("no numeric code for " + code);
    char numericText[4];
    std::snprintf(numericText, sizeof numericText, "%03d", static_cast<int>(numeric));

    std::string region = IssuingTerritory(code, territories);
    std::string national = MainLanguage(region) + "_" + region;
    std::string nameEn = CurrencyName(code, "en", UCURR_LONG_NAME);
    std::string symbolEn = CurrencyName(code, "en", UCURR_NARROW_SYMBOL_NAME);
    std::string countryEn = RegionName(region, "en");
    std::string nameNational = CurrencyName(code, national, UCURR_LONG_NAME);
    std::string symbolNational = CurrencyName(code, national, UCURR_SYMBOL_NAME);
    std::string countryNational = RegionName(region, national);

    std::vector<std::string> fields = {code,
                                       NonEmpty(nameEn, code),
                                       NonEmpty(symbolEn, code),
                                       numericText,
                                       NonEmpty(countryNational, countryEn),
                                       countryEn,
                                       NonEmpty(nameNational, nameEn),
                                       NonEmpty(symbolNational, symbolEn)};
    for (size_t i = 0; i < fields.size(); ++i)
      out << (i ? "," : "") << CsvField(fields[i]);
    out << "\n";
  }
  return out.str();
}

// The ICU and CLDR releases at hand, as DataVintage.h names them: "72.1", "42".
std::string IcuVersion() {
  return U_ICU_VERSION;
}
std::string CldrVersion() {
  UErrorCode status = U_ZERO_ERROR;
  UVersionInfo version;
  ulocdata_getCLDRVersion(version, &status);
  if (U_FAILURE(status))
    throw std::runtime_error(std::string("no CLDR version: ") + u_errorName(status));
  char text[U_MAX_VERSION_STRING_LENGTH];
  u_versionToString(version, text);
  std::string result = text;
  // u_versionToString writes at least two parts ("42.0"); CLDR names its releases "42".
  if (result.size() > 2 && result.compare(result.size() - 2, 2, ".0") == 0)
    result.resize(result.size() - 2);
  return result;
}

// The committed catalogue names its source in DataVintage.h; a catalogue from another release
// must come with that name changed.
bool NamedRelease() {
  using quorvane::server::kCatalogueCldrVersion;
  using quorvane::server::kCatalogueIcuVersion;
  if (IcuVersion() == kCatalogueIcuVersion && CldrVersion() == kCatalogueCldrVersion)
    return true;
  std::cerr << "this is ICU " << IcuVersion() << " with CLDR " << CldrVersion()
            << ", but server/DataVintage.h names ICU " << kCatalogueIcuVersion << " with CLDR "
            << kCatalogueCldrVersion << " as the catalogue's source\n";
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    std::string catalogue = MakeCatalogue();
    std::string args1 = argc > 1 ? argv[1] : "";
    if (args1 == "--check" && argc == 3) {
      if (!NamedRelease())
        return 1;
      std::ifstream file(argv[2], std::ios::binary);
      std::stringstream committed;
      committed << file.rdbuf();
      if (committed.str() == catalogue)
        return 0;
      std::cerr << argv[2] << " differs from the catalogue that ICU " << U_ICU_VERSION
                << " gives; regenerate it with make_catalogue and review the change\n";
      return 1;
    }
    if (argc == 2) {
      if (!NamedRelease())
        std::cerr << "update server/DataVintage.h with the catalogue\n";
      std::ofstream file(argv[1], std::ios::binary);
      file << catalogue;
      return file ? 0 : 1;
    }
    if (argc != 1) {
      std::cerr << "usage: make_catalogue [FILE] | --check FILE\n";
      return 2;
    }
    std::cout << catalogue;
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "make_catalogue: " << e.what() << "\n";
    return 1;
  }
}
