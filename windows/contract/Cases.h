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

}  // namespace contract
