#pragma once
// The 24 operations of the server's automation interface, listed once. The interface, the
// reference server, the server DLL, the scripted test server and the type-library check are all
// made from this list; the IDL (com/Quorvane.idl) states the same contract for the system.
//
//   OPERATION(position, name, kind, (parameters), (arguments))
//   RESERVED(position)          a slot that no client calls; it answers E_NOTIMPL
//
// The position is the slot after IUnknown's three and IDispatch's four entries, and the dispatch
// id. Kind: Method, or PropertyGet / PropertyPut of the property named after the "Get_" / "Set_".
// Text arguments are BSTRs owned by the caller; a text result is a BSTR the caller frees.
#define QUORVANE_OPERATIONS(OPERATION, RESERVED)                                                \
  OPERATION(1, Get_Visible, PropertyGet, (VARIANT_BOOL * Value), (Value))                       \
  OPERATION(2, Set_Visible, PropertyPut, (VARIANT_BOOL Value), (Value))                         \
  RESERVED(3)                                                                                   \
  OPERATION(4, GetCountryList, Method, (BSTR * Result), (Result))                               \
  RESERVED(5)                                                                                   \
  OPERATION(6, GetMinimumWageList, Method, (BSTR Country, BSTR * Result), (Country, Result))    \
  OPERATION(7, GetPriceIndexList, Method, (BSTR Country, BSTR * Result), (Country, Result))     \
  OPERATION(8, GetFundsRateList, Method, (BSTR Country, BSTR * Result), (Country, Result))      \
  OPERATION(9, GetFieldValueList, Method, (BSTR FieldName, BSTR * Result), (FieldName, Result)) \
  RESERVED(10)                                                                                  \
  OPERATION(11, GetListOfExchangeRate, Method, (BSTR FromCode, BSTR ToCode, BSTR * Result),     \
            (FromCode, ToCode, Result))                                                         \
  OPERATION(12, GetLIDCurrency, Method, (BSTR FieldName, BSTR FieldValue, BSTR * Result),       \
            (FieldName, FieldValue, Result))                                                    \
  RESERVED(13)                                                                                  \
  RESERVED(14)                                                                                  \
  OPERATION(15, GetExchangeRate, Method, (BSTR FromCode, BSTR ToCode, DATE Day, BSTR * Result), \
            (FromCode, ToCode, Day, Result))                                                    \
  RESERVED(16)                                                                                  \
  RESERVED(17)                                                                                  \
  RESERVED(18)                                                                                  \
  RESERVED(19)                                                                                  \
  RESERVED(20)                                                                                  \
  RESERVED(21)                                                                                  \
  RESERVED(22)                                                                                  \
  RESERVED(23)                                                                                  \
  RESERVED(24)

#include <iterator>

// The arguments of an entry without their parentheses: f(first, QV_UNPARENTHESIZE arguments).
#define QV_UNPARENTHESIZE(...) __VA_ARGS__

namespace quorvane {

enum class OperationKind { Method, PropertyGet, PropertyPut, Reserved };

struct OperationEntry {
  int position;
  const char* name;  // the function-table name: "Get_Visible", "Reserved3", ...
  OperationKind kind;
};

#define QV_OPERATION_ENTRY(position, name, kind, parameters, arguments) \
  {position, #name, OperationKind::kind},
#define QV_RESERVED_ENTRY(position) {position, "Reserved" #position, OperationKind::Reserved},
inline constexpr OperationEntry kOperations[] = {
    QUORVANE_OPERATIONS(QV_OPERATION_ENTRY, QV_RESERVED_ENTRY)};
#undef QV_OPERATION_ENTRY
#undef QV_RESERVED_ENTRY

// The list holds every slot once, in slot order.
constexpr bool OperationsInSlotOrder() {
  int expected = 1;
  for (const OperationEntry& entry : kOperations)
    if (entry.position != expected++)
      return false;
  return true;
}
static_assert(OperationsInSlotOrder(), "the operations must be listed by position, 1 to 24");
static_assert(std::size(kOperations) == 24, "the interface has 24 operations");

}  // namespace quorvane
