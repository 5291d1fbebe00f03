#pragma once
// What the server DLL knows about itself: its module handle, the count of live objects and locks
// that decides whether it may be unloaded, and its type library.

#include "Com.h"
#include "ComPtr.h"

namespace serverdll {

HMODULE Module();
void SetModule(HMODULE module);

// The DLL's full path, as the registry and the type library loader need it.
std::wstring ModulePath();

// Objects and class-factory locks alive; the DLL can unload when there are none.
void AddModuleReference();
void ReleaseModuleReference();
bool ModuleInUse();
long ModuleReferences();
// Called when the count falls to 0: a local server ends then unless its window is shown.
void SetLastReleaseAction(void (*action)());

// The interface's description from the type library embedded in this DLL: the vtable view, which
// the dispatch calls go through. Empty when the library cannot be loaded.
platform::ComPtr<ITypeInfo> InterfaceTypeInfo();

}  // namespace serverdll
