#pragma once
// The groups of cases the contract test runs.

namespace contract {

// The Windows backend alone; needs no server.
void RunSystemCases();
// The client against the server DLL as regsvr32 registered it.
void RunRegisteredServerCases();
// The registered type library against the client's interface.
void RunTypeLibraryCases();
// The DLL from two apartment threads at once, each under its own thread locale.
void RunConcurrentServerCases();
// Late-bound calls with wrong types, counts, null pointers and named arguments.
void RunDispatchArgumentCases();
// The client when the server's class is not registered.
void RunUnregisteredServerCases();
// CreateRemote naming this machine, with the server registered or not.
void RunRemoteCreationCases(bool registered);
// Calls the registration entry point (DllRegisterServer or DllUnregisterServer) of the server DLL
// beside this program, as regsvr32 does.
void RunRegistration(const char* entryPoint);

}  // namespace contract
