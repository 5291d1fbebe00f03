#pragma once
// The server's automation interface and its creator. The slot order is the contract: the operation
// at position p is entry 7 + p of the function table (after IUnknown's three and IDispatch's four).

#include <string_view>

#include "Com.h"

namespace quorvane {

// {9470904C-EAB4-4BD4-8724-274F79A89FC0}
extern const CLSID CLASS_CoQuorvaneAutomation;
// {B87E668C-F2BD-44DB-A96D-B43E84439CD8}
extern const IID IID_IQuorvaneAutomation;

// Texts go in as BSTRs owned by the caller; text results come out as BSTRs the caller frees.
struct IQuorvaneAutomation : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE Get_Visible(VARIANT_BOOL* Value) = 0;                 // 1
  virtual HRESULT STDMETHODCALLTYPE Set_Visible(VARIANT_BOOL Value) = 0;                  // 2
  virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;                                      // 3
  virtual HRESULT STDMETHODCALLTYPE GetCountryList(BSTR* Result) = 0;                     // 4
  virtual HRESULT STDMETHODCALLTYPE Reserved5() = 0;                                      // 5
  virtual HRESULT STDMETHODCALLTYPE GetMinimumWageList(BSTR Country, BSTR* Result) = 0;   // 6
  virtual HRESULT STDMETHODCALLTYPE GetPriceIndexList(BSTR Country, BSTR* Result) = 0;    // 7
  virtual HRESULT STDMETHODCALLTYPE GetFundsRateList(BSTR Country, BSTR* Result) = 0;     // 8
  virtual HRESULT STDMETHODCALLTYPE GetFieldValueList(BSTR FieldName, BSTR* Result) = 0;  // 9
  virtual HRESULT STDMETHODCALLTYPE Reserved10() = 0;                                     // 10
  virtual HRESULT STDMETHODCALLTYPE GetListOfExchangeRate(BSTR FromCode, BSTR ToCode,
                                                          BSTR* Result) = 0;  // 11
  virtual HRESULT STDMETHODCALLTYPE GetLIDCurrency(BSTR FieldName, BSTR FieldValue,
                                                   BSTR* Result) = 0;  // 12
  virtual HRESULT STDMETHODCALLTYPE Reserved13() = 0;                  // 13
  virtual HRESULT STDMETHODCALLTYPE Reserved14() = 0;                  // 14
  virtual HRESULT STDMETHODCALLTYPE GetExchangeRate(BSTR FromCode, BSTR ToCode, DATE Day,
                                                    BSTR* Result) = 0;  // 15
  virtual HRESULT STDMETHODCALLTYPE Reserved16() = 0;                   // 16
  virtual HRESULT STDMETHODCALLTYPE Reserved17() = 0;                   // 17
  virtual HRESULT STDMETHODCALLTYPE Reserved18() = 0;                   // 18
  virtual HRESULT STDMETHODCALLTYPE Reserved19() = 0;                   // 19
  virtual HRESULT STDMETHODCALLTYPE Reserved20() = 0;                   // 20
  virtual HRESULT STDMETHODCALLTYPE Reserved21() = 0;                   // 21
  virtual HRESULT STDMETHODCALLTYPE Reserved22() = 0;                   // 22
  virtual HRESULT STDMETHODCALLTYPE Reserved23() = 0;                   // 23
  virtual HRESULT STDMETHODCALLTYPE Reserved24() = 0;                   // 24

 protected:
  ~IQuorvaneAutomation() = default;
};

// Makes server objects. Create raises an Exception with the creation message on failure; the
// caller gets a counted reference. CreateRemote does the same on the named machine, with the same
// messages; where the runtime reaches no other machine it raises that it cannot.
class CoQuorvaneAutomation {
 public:
  static IQuorvaneAutomation* Create();
  static IQuorvaneAutomation* CreateRemote(std::u16string_view machineName);
};

}  // namespace quorvane
